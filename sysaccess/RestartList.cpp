#include "sysaccess/RestartList.h"

#include <vector>

namespace {
const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingList[] = "PendingFileRenameOperations";

// The list as it is written: "\??\" before each path.
std::string Unprefixed(const std::string& name) {
    return name.compare(0, 4, "\\??\\") == 0 ? name.substr(4) : name;
}

LONG Edit(HKEY key, const std::string& path, bool& found) {
    DWORD size = 0, type = REG_NONE;
    LONG result = RegQueryValueExA(key, kPendingList, nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS) return result;
    std::vector<char> data(size + 2, '\0');
    result = RegQueryValueExA(key, kPendingList, nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
    if (result != ERROR_SUCCESS) return result;
    // Pairs of strings: the file and its new name, empty for a deletion.
    std::string kept;
    for (std::size_t at = 0; at < size && data[at];) {
        const std::string source = data.data() + at;
        at += source.size() + 1;
        const std::string target = at < size ? data.data() + at : "";
        at += target.size() + 1;
        if (target.empty() && lstrcmpiA(Unprefixed(source).c_str(), path.c_str()) == 0) {
            found = true;
            continue;
        }
        kept += source + '\0' + target + '\0';
    }
    if (!found) return ERROR_SUCCESS;
    if (kept.empty()) return RegDeleteValueA(key, kPendingList);
    kept += '\0';
    return RegSetValueExA(key, kPendingList, 0, REG_MULTI_SZ,
                          reinterpret_cast<const BYTE*>(kept.data()), DWORD(kept.size()));
}
}  // namespace

LONG TakeOffRestartList(const std::string& path, bool& found) {
    found = false;
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0,
                                KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (result != ERROR_SUCCESS) return result;
    result = Edit(key, path, found);
    RegCloseKey(key);
    return result;
}
