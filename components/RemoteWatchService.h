#pragma once
#include "core/Component.h"

// Catalog entry 14: the remote watch service.
class RemoteWatchService : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
