#pragma once
#include "core/Component.h"

// Catalog entry 11: the applet of the N100 and N1000 adapters and their teaming configuration.
class IntelNicApplet : public Component {
  public:
    bool IsInstalled() override;
    // Run values; on Windows NT 4 with a teaming service installed, the teaming services, the
    // adapters' teaming parameters and the virtual adapters. Always true.
    bool FinalStage() override;
    // The applet files, the monitor program and the Start-menu shortcut. Always true.
    bool MiddleStage() override;
};
