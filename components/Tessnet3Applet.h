#pragma once
#include "run/Component.h"

// Catalog entry 2: the applet of the maker's own adapter family and its teaming configuration.
class Tessnet3Applet : public Component {
  public:
    bool IsInstalled() override;
};
