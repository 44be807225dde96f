#include "restore/ServiceMark.h"

const char kDeleteMark[] = "DeleteFlag";

namespace {
const char kServices[] = "SYSTEM\\CURRENTCONTROLSET\\SERVICES\\";

// The key at path opened for access; null when it cannot be.
HKEY OpenKey(const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key) == ERROR_SUCCESS
               ? key
               : nullptr;
}
}  // namespace

bool IsServiceKey(const std::string& path) {
    const std::size_t prefix = sizeof kServices - 1;
    return path.size() > prefix && lstrcmpiA(path.substr(0, prefix).c_str(), kServices) == 0 &&
           path.find('\\', prefix) == std::string::npos;
}

bool CarriesDeleteMark(const std::string& path) {
    const HKEY key = OpenKey(path, KEY_QUERY_VALUE);
    if (!key) return false;
    const bool marked =
        RegQueryValueExA(key, kDeleteMark, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return marked;
}

LONG TakeOffDeleteMark(const std::string& path) {
    const HKEY key = OpenKey(path, KEY_SET_VALUE);
    if (!key) return ERROR_FILE_NOT_FOUND;
    LONG result = RegDeleteValueA(key, kDeleteMark);
    RegCloseKey(key);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}
