#include "support/RestartList.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "support/Machine.h"
#include "support/RegistryEdit.h"

namespace {
const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kList[] = "PendingFileRenameOperations";
}  // namespace

std::vector<std::string> PendingDeletions() {
    std::vector<std::string> deletions;
    DWORD type = 0;
    std::string data;
    if (!ReadValue(HKEY_LOCAL_MACHINE, kSessionManager, kList, &type, &data) ||
        type != REG_MULTI_SZ)
        return deletions;
    std::vector<std::string> strings;
    for (const char* p = data.c_str(); p < data.c_str() + data.size(); p += std::strlen(p) + 1)
        strings.push_back(p);
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
        if (!strings[i + 1].empty()) continue;
        std::string source = strings[i];
        if (source.rfind("\\??\\", 0) == 0) source.erase(0, 4);
        deletions.push_back(source);
    }
    return deletions;
}

bool IsPendingDeletion(const std::string& path) {
    const std::vector<std::string> pending = PendingDeletions();
    const std::string expanded = ExpandMachinePath(path);
    return std::any_of(pending.begin(), pending.end(), [&](const std::string& entry) {
        return _stricmp(entry.c_str(), expanded.c_str()) == 0;
    });
}

void ClearPendingDeletions() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != 0) return;
    RegDeleteValueA(key, kList);
    RegCloseKey(key);
}

RefusedScheduling::RefusedScheduling() {
    WriteString(HKEY_LOCAL_MACHINE, kSessionManager, kList, "x");
}

RefusedScheduling::~RefusedScheduling() {
    ClearPendingDeletions();
}
