#include "components/ManagementAgents.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgramsFolders.h"
#include "sysaccess/RegistryKey.h"

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

const char* const kAgentKeys[] = {
    "SYSTEM\\CurrentControlSet\\Services\\VLMMGMT",
    "SYSTEM\\CurrentControlSet\\Services\\VlMgHost",
    "SYSTEM\\CurrentControlSet\\Services\\VlMgServ",
    "SYSTEM\\CurrentControlSet\\Services\\VlMgStor",
    "SYSTEM\\CurrentControlSet\\Services\\VLMNicMgmt",
    "SYSTEM\\CurrentControlSet\\Services\\VLMWebMgmt",
    "SYSTEM\\CurrentControlSet\\Services\\VLMSDM",
    "SYSTEM\\CurrentControlSet\\Services\\VNMPROT",
    "Software\\Velmora\\VLMInstall",
};

const char kExtensionAgents[] =
    "SYSTEM\\CurrentControlSet\\Services\\SNMP\\Parameters\\ExtensionAgents";

// The agents register each SNMP extension both as a value and as a key of the same name.
const char* const kSnmpAgents[] = {
    "VLMNICS", "VLMNISNMP", "VLMSERVSNMP", "VLMSNMP", "VLMSTORSNMP", "VLMHOSTSNMP", "VLMMIB1K",
};

const char* const kPatrolKeys[] = {
    "SYSTEM\\CurrentControlSet\\Services\\patfvlm",
    "SYSTEM\\CurrentControlSet\\Services\\patrolagent",
    "SOFTWARE\\BMC Software\\PATROL for Lumenar Manager",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PATROL for Lumenar Manager",
};

const char kEnvironment[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

const char* const kPatrolVariables[] = {
    "PATROL_ADMIN", "PATROL_HOME", "PATROL_TEMP", "PFC_HOME", "TMP_PATROL",
};

const char kAgentsUninstallEntry[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora Management Agents";

void DeleteKey(const std::string& path) {
    RegistryKey(path).DeleteTree();
}
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
    for (const char* key : kAgentKeys) DeleteKey(key);
    // Only the agents' own values go: other extension agents stay registered.
    for (const char* agent : kSnmpAgents) RegistryKey(kExtensionAgents).DeleteValue(agent);
    for (const char* agent : kSnmpAgents) DeleteKey(std::string(kExtensionAgents) + "\\" + agent);
    for (const char* key : kPatrolKeys) DeleteKey(key);
    // Running programs keep their copy of the environment until they restart.
    for (const char* variable : kPatrolVariables) RegistryKey(kEnvironment).DeleteValue(variable);
    DeleteKey(kAgentsUninstallEntry);
    return true;
}
