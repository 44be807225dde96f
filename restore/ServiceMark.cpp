#include "restore/ServiceMark.h"

#include "base/PathText.h"
#include "sysaccess/WritableKey.h"

const char kDeleteMark[] = "DeleteFlag";

namespace {
const char kServices[] = "SYSTEM\\CURRENTCONTROLSET\\SERVICES\\";
}  // namespace

bool IsServiceKey(const std::string& path) {
    const std::size_t prefix = sizeof kServices - 1;
    return path.size() > prefix && lstrcmpiA(path.substr(0, prefix).c_str(), kServices) == 0 &&
           LastBackslash(path) == prefix - 1;
}

bool CarriesDeleteMark(const std::string& path) {
    ReadOnlyKey key(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE);
    DWORD size = 0;
    return key.ValueSize(kDeleteMark, size);
}

LONG TakeOffDeleteMark(const std::string& path) {
    WritableKey key(HKEY_LOCAL_MACHINE, path, KEY_SET_VALUE);
    if (!key.IsOpen()) return ERROR_FILE_NOT_FOUND;
    return key.DeleteValue(kDeleteMark) || key.LastError() == ERROR_FILE_NOT_FOUND
               ? ERROR_SUCCESS
               : key.LastError();
}
