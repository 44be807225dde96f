#include "sysaccess/FileOperations.h"

#include <windows.h>
#include <shlobj.h>

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool DeleteFileForced(const std::string& path) {
    if (DeleteFileA(path.c_str())) return true;
    // A file that is not there needs no deletion at the restart, which would take a later file
    // of that name with it.
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str())) return true;
    return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

bool RemoveFolder(const std::string& path) {
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool DeleteShortcut(const std::string& path) {
    const bool deleted = DeleteFileA(path.c_str()) != FALSE;
    SHChangeNotify(
        SHCNE_DELETE | SHCNE_ATTRIBUTES | SHCNE_UPDATEDIR | SHCNE_UPDATEITEM | SHCNE_UPDATEIMAGE,
        SHCNF_FLUSH | SHCNF_IDLIST, nullptr, nullptr);
    return deleted;
}
