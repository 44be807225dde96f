#pragma once
#include "core/Component.h"

// Catalog entry 18, removed last and without a log block: what is left of the failover agent
// monitor, the shared tools folder and the teaming transport services.
class FailoverAgentTransports : public Component {
  public:
    // The monitor's registry key, shortcut and the teaming transport service keys. Always true.
    bool FinalStage() override;
    // The tools folder once the other entries emptied it, the monitor's files and, on
    // Windows NT 3.51, its Program Manager item. Always true.
    bool MiddleStage() override;
};
