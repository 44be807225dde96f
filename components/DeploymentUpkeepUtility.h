#pragma once
#include "run/Component.h"

// Catalog entry 1: the deployment upkeep utility and its service partition refresh companion.
class DeploymentUpkeepUtility : public Component {
  public:
    bool IsInstalled() override;
};
