#pragma once
#include "run/Component.h"

// Catalog entry 6: the online storage failover assistant.
class OnlineStorageFailoverUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
