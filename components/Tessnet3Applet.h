#pragma once
#include "core/Component.h"

// Catalog entry 2: the applet of the maker's own adapter family and its teaming configuration.
class Tessnet3Applet : public Component {
  public:
    bool IsInstalled() override;
    // Run values, the VLMTN3 adapters' secondary settings and teaming parameters, and the
    // virtual adapters (their services on Windows NT 4 only). Always true.
    bool FinalStage() override;
    // The applet files, the monitor program and the Start-menu shortcuts. Always true.
    bool MiddleStage() override;
};
