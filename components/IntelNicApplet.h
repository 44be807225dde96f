#pragma once
#include "run/Component.h"

// Catalog entry 11: the applet of the N100 and N1000 adapters and their teaming configuration.
class IntelNicApplet : public Component {
  public:
    bool IsInstalled() override;
};
