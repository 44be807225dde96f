#pragma once
#include "run/Component.h"

// Catalog entry 5: the event journal viewer.
class EventJournalViewerUtility : public Component {
  public:
    bool IsInstalled() override;
    bool FinalStage() override;
    bool MiddleStage() override;
};
