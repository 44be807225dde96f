#include "components/FailoverAgentTransports.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgmanClient.h"
#include "sysaccess/ProgramsFolders.h"
#include "sysaccess/RegistryKey.h"

bool FailoverAgentTransports::FinalStage() {
    RegistryKey("Software\\Velmora\\VLMNTSWK").DeleteTree();
    DeleteShortcut(CommonProgramsFolder() +
                   "\\Administrative Tools (Common)\\Velmora Failover Agent Monitor.lnk");
    RegistryKey("System\\CurrentControlSet\\Services\\VLMNTCTransport").DeleteTree();
    RegistryKey("System\\CurrentControlSet\\Services\\VLMANCTransport").DeleteTree();
    return true;
}

bool FailoverAgentTransports::MiddleStage() {
    // Runs after every other entry, so the shared folder is empty by now unless something
    // foreign is left in it; nothing inside it is deleted here.
    RemoveFolder(CommonProgramsFolder() + "\\Velmora System Tools");
    const std::string system = SystemDirectory();
    DeleteFileForced(system + "FOADMIN.CPL");
    DeleteFileForced(system + "FOADMIN.HLP");
    DeleteFileForced(system + "FOAMON.HLP");
    if (IsNt351Build()) {
        ProgmanConnect();
        ProgmanDeleteItem("Administrative Tools", "Velmora Failover Agent Monitor", false);
        ProgmanDisconnect();
    }
    return true;
}
