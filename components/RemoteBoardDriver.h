#pragma once
#include "core/Component.h"

// Catalog entry 15: the remote management board driver.
class RemoteBoardDriver : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
