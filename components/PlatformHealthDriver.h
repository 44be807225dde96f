#pragma once
#include "core/Component.h"

// Catalog entry 17: the platform health driver and its shutdown companion.
class PlatformHealthDriver : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
