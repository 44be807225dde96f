#pragma once
#include "core/Component.h"

// Catalog entry 12: the cluster audit tool, installed in its own folder.
class ClusterAuditUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
