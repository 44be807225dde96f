#include "components/FailoverAgentTransports.h"

#include "base/ProgramsFolders.h"
#include "base/SystemQueries.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgmanClient.h"
#include "sysaccess/ServiceControl.h"

bool FailoverAgentTransports::FinalStage() {
    DeleteKeys({"Software\\Velmora\\VLMNTSWK"});
    DeleteShortcut(CommonProgramsFolder() +
                   "\\Administrative Tools (Common)\\Velmora Failover Agent Monitor.lnk");
    DeleteKeys(kServicesKey, {"VLMNTCTransport", "VLMANCTransport"});
    return true;
}

bool FailoverAgentTransports::MiddleStage() {
    // Runs after every other entry, so the shared folder is empty by now unless something
    // foreign is left in it; nothing inside it is deleted here.
    RemoveFolder(CommonProgramsFolder() + "\\Velmora System Tools");
    DeleteFiles(SystemDirectory(), {"FOADMIN.CPL", "FOADMIN.HLP", "FOAMON.HLP"});
    if (IsNt351Build()) {
        ProgmanConversation().DeleteItem("Administrative Tools", "Velmora Failover Agent Monitor",
                                         false);
    }
    return true;
}
