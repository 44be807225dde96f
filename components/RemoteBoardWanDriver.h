#pragma once
#include "core/Component.h"

// Catalog entry 16: the remote management board WAN driver.
class RemoteBoardWanDriver : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
