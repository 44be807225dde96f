#pragma once
#include "core/Component.h"

// Catalog entry 1: the deployment upkeep utility and its service partition refresh companion.
// Its first stage runs every registered uninstaller of the product and waits for each.
class DeploymentUpkeepUtility : public Component {
  public:
    bool IsInstalled() override;
    // Deletes the Start-menu shortcuts of the all-users, administrator's and default user's
    // profiles; always true.
    bool FinalStage() override;
    // Deletes the Program Manager items and group on Windows NT 3.51; always true.
    bool MiddleStage() override;
    // Deletes the executables and setup files and runs the product's uninstallers; true when
    // upk.exe was deleted or scheduled for deletion, else writes an error line.
    bool InitialStage() override;
};
