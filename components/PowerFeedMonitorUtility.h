#pragma once
#include "run/Component.h"

// Catalog entry 10: the power feed monitor.
class PowerFeedMonitorUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
