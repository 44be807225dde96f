#pragma once
#include "core/Component.h"

// Catalog entry 3: the disk array setup utility.
class DiskArraySetupUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
