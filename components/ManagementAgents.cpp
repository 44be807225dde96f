#include "components/ManagementAgents.h"

#include <initializer_list>

#include "base/ProgramsFolders.h"
#include "base/SystemQueries.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegistryKey.h"
#include "sysaccess/ServiceControl.h"

namespace {
const char kShortcutFolder[] = "\\Velmora Products and Services";

const char* const kShortcuts[] = {
    "\\Velmora Products and Services\\Velmora Management Agents Readme.lnk",
    "\\Velmora Products and Services\\Velmora Event Notifier Help.lnk",
    "\\Velmora Products and Services\\Velmora Event Notifier Config.lnk",
    "\\Velmora Products and Services\\Lumenar Agents Event Notifier Config.lnk",
    "\\Velmora Products and Services\\Lumenar Agents Event Notifier Help.lnk",
    "\\Velmora Products and Services\\Lumenar Management Agents Readme.lnk",
    "\\Velmora Products and Services\\Uninstall PATROL for Lumenar Manager.lnk",
};

// The agents register each SNMP extension both as a value and as a key of the same name.
const std::initializer_list<const char*> kSnmpAgents = {
    "VLMNICS", "VLMNISNMP", "VLMSERVSNMP", "VLMSNMP", "VLMSTORSNMP", "VLMHOSTSNMP", "VLMMIB1K",
};

const char kEnvironment[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

const char* const kPatrolVariables[] = {
    "PATROL_ADMIN", "PATROL_HOME", "PATROL_TEMP", "PFC_HOME", "TMP_PATROL",
};
}  // namespace

bool ManagementAgents::IsInstalled() {
    return FileExists(SystemDirectory() + "vlmmgmt.cpl");
}

bool ManagementAgents::MiddleStage() {
    DeleteFileForced(SystemDirectory() + "vlmmgmt.cpl");
    // A shortcut that cannot go now is left for the next restart.
    const std::string programs = UserProgramsFolder();
    for (const char* shortcut : kShortcuts) DeleteFileForced(programs + shortcut);
    RemoveFolder(UserProgramsFolder() + kShortcutFolder);
    return true;
}

bool ManagementAgents::FinalStage() {
    DeleteKeys(kServicesKey, {"VLMMGMT", "VlMgHost", "VlMgServ", "VlMgStor", "VLMNicMgmt",
                              "VLMWebMgmt", "VLMSDM", "VNMPROT"});
    DeleteKeys({"Software\\Velmora\\VLMInstall"});
    // Only the agents' own values go: other extension agents stay registered.
    const std::string extensionAgents =
        std::string(kServicesKey) + "\\SNMP\\Parameters\\ExtensionAgents";
    for (const char* agent : kSnmpAgents) RegistryKey(extensionAgents).DeleteValue(agent);
    DeleteKeys(extensionAgents, kSnmpAgents);
    DeleteKeys(kServicesKey, {"patfvlm", "patrolagent"});
    DeleteKeys({"SOFTWARE\\BMC Software\\PATROL for Lumenar Manager"});
    DeleteKeys(kUninstallKey, {"PATROL for Lumenar Manager"});
    // Running programs keep their copy of the environment until they restart.
    for (const char* variable : kPatrolVariables) RegistryKey(kEnvironment).DeleteValue(variable);
    DeleteKeys(kUninstallKey, {"Velmora Management Agents"});
    return true;
}
