#pragma once
#include "run/Component.h"

// Catalog entry 7: the PCI live swap tool.
class PciLiveSwapUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
