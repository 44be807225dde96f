#include "components/RemovalSteps.h"

#include "core/LogFile.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegistryKey.h"

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool DeleteMainFile(const std::string& path, const char* shownName) {
    const bool deleted = DeleteFileForced(path);
    if (!deleted) TheLogFile().WriteError(std::string("did not remove ") + shownName);
    return deleted;
}

void DeleteFiles(const std::string& directory, std::initializer_list<const char*> names) {
    for (const char* name : names) DeleteFileForced(directory + name);
}

void DeleteShortcuts(const std::string& folder, std::initializer_list<const char*> names) {
    for (const char* name : names) DeleteShortcut(folder + name);
}

void DeleteKeys(std::initializer_list<const char*> paths) {
    for (const char* path : paths) RegistryKey(path).DeleteTree();
}

void DeleteKeys(const std::string& parent, std::initializer_list<const char*> names) {
    for (const char* name : names) RegistryKey(parent + "\\" + name).DeleteTree();
}
