#pragma once
#include "run/Component.h"

// Catalog entry 8: the mirror pair tool.
class MirrorPairUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
