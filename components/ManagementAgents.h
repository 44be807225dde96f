#pragma once
#include "run/Component.h"

// Catalog entry 13: the management agents and the PATROL agent installed with them.
class ManagementAgents : public Component {
  public:
    bool IsInstalled() override;
};
