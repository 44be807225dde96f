#pragma once
#include "run/Component.h"

// Catalog entry 4: the front panel status display tool.
class FrontPanelDisplayUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
