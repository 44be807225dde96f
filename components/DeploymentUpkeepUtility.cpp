#include "components/DeploymentUpkeepUtility.h"

#include <vector>

#include "base/PathText.h"
#include "base/ProgramsFolders.h"
#include "base/SystemQueries.h"
#include "components/RegistryReads.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProcessLaunch.h"
#include "sysaccess/ProgmanClient.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kProductKey[] = "SOFTWARE\\Velmora\\Deployment Upkeep Utility";

// Left behind by the product's installer in the "setup" folder beside its source.
const char* const kSetupFiles[] = {
    "\\setup.log", "\\DATA.Z",       "\\DDELINK.DLL", "\\SETUP.EXE",  "\\SETUP.INS",  "\\SETUP.ISS",
    "\\SETUP.PKG", "\\_INST32I.EX_", "\\_ISDEL.EXE",  "\\_SETUP.DLL", "\\_SETUP.LIB",
};

// Appended to a registered uninstall command: the uninstaller runs unattended.
const char kUnattended[] = " -v -a";

const char kGroup[] = "Velmora Products and Services";
const char kUtilityItem[] = "Velmora Deployment Upkeep Utility";
const char kRefreshItem[] = "Service Partition Refresh Utility";

const char kUtilityShortcut[] = "\\Velmora Deployment Upkeep Utility.lnk";
const char kRefreshShortcut[] = "\\Service Partition Refresh Utility.lnk";
const char kAdministratorFolder[] =
    "profiles\\administrator\\start menu\\programs\\Velmora Products and Services";

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// The installer's files lie in "setup" beside the source recorded by one installation. A
// source without a folder names no place to clean (not the root of the current drive).
void DeleteSetupFiles(const std::string& installation) {
    const std::string source =
        StringValue(std::string(kProductKey) + "\\" + installation, "VDUU Source");
    const std::size_t cut = LastBackslash(source);
    if (cut == std::string::npos || cut == 0) return;
    const std::string setup = source.substr(0, cut) + "\\setup";
    for (const char* name : kSetupFiles) DeleteFileForced(setup + name);
}

// The folder of the uninstaller's log: what follows the first "-f", up to its last backslash.
std::string UninstallLogFolder(const std::string& command) {
    const std::size_t option = command.find("-f");
    if (option == std::string::npos) return std::string();
    std::string folder = command.substr(option + 2);
    const std::size_t cut = LastBackslash(folder);
    if (cut != std::string::npos) folder.erase(cut);
    return folder;
}

// Runs the uninstaller of one installation unattended, waits for it, and drops its log folder
// and its entry. Entries of other products are left alone.
void UninstallEntry(const std::string& name) {
    if (!Contains(name, "VDUU")) return;
    const std::string entry = std::string(kUninstallKey) + "\\" + name;
    if (!Contains(StringValue(entry, "DisplayName"), "Velmora Deployment Upkeep")) return;
    const std::string registered = StringValue(entry, "UninstallString");
    const std::string logFolder = UninstallLogFolder(registered + kUnattended);
    // An uninstaller that is missing, fails or outlasts the wait does not stop the cleanup.
    RunUninstaller(registered, kUnattended);
    if (!logFolder.empty()) RemoveFolder(logFolder);
    RegistryKey(entry).DeleteTree();
}

void DeleteProfileShortcuts(const std::string& folder) {
    DeleteShortcut(folder + kUtilityShortcut);
    DeleteShortcut(folder + kRefreshShortcut);
}
}  // namespace

bool DeploymentUpkeepUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "UPK.EXE");
}

bool DeploymentUpkeepUtility::InitialStage() {
    const std::string system = SystemDirectory();
    const bool removed = DeleteMainFile(system + "upk.exe", "upk.exe");
    DeleteFiles(system, {"upsc.exe", "up_fe.dll", "upio32.dll"});
    for (const std::string& installation : SubkeyNames(kProductKey)) DeleteSetupFiles(installation);
    for (const std::string& entry : SubkeyNames(kUninstallKey)) UninstallEntry(entry);
    return removed;
}

bool DeploymentUpkeepUtility::MiddleStage() {
    if (!IsNt351Build()) return true;
    ProgmanConversation progman;
    progman.DeleteItem(kGroup, kUtilityItem, false);
    progman.DeleteItem(kGroup, kRefreshItem, false);
    progman.DeleteGroup(kGroup);
    return true;
}

bool DeploymentUpkeepUtility::FinalStage() {
    const std::string common = CommonProgramsFolder() + "\\" + kGroup;
    DeleteProfileShortcuts(common);

    DeleteShortcut(WindowsDirectory() + kAdministratorFolder + kUtilityShortcut);
    DeleteShortcut(WindowsDirectory() + kAdministratorFolder + kRefreshShortcut);
    RemoveFolder(WindowsDirectory() + kAdministratorFolder);

    // Without a default user name the path would lead outside every profile.
    const std::string defaultUser =
        StringValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "DefaultUserName");
    if (defaultUser.empty()) return true;
    const std::string defaultUserFolder =
        WindowsDirectory() + "Profiles\\" + defaultUser + "\\start menu\\programs\\" + kGroup;
    DeleteProfileShortcuts(defaultUserFolder);
    RemoveFolder(defaultUserFolder);
    return true;
}
