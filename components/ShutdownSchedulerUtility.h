#pragma once
#include "run/Component.h"

// Catalog entry 9: the shutdown scheduler.
class ShutdownSchedulerUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
