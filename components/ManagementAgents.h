#pragma once
#include "core/Component.h"

// Catalog entry 13: the management agents and the PATROL agent installed with them. Files and
// registry only (no service is stopped); every stage succeeds whatever its steps give.
class ManagementAgents : public Component {
  public:
    bool IsInstalled() override;
    // Deletes the agents' registry keys, SNMP registrations, environment values and uninstall
    // entries; always true.
    bool FinalStage() override;
    // Deletes the control-panel file, the current user's shortcuts and their folder; always true.
    bool MiddleStage() override;
};
