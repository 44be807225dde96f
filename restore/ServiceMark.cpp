#include "restore/ServiceMark.h"

#include <cstring>

#include "base/PathText.h"
#include "sysaccess/ServiceControl.h"
#include "sysaccess/WritableKey.h"

const char kDeleteMark[] = "DeleteFlag";

bool IsServiceKey(const std::string& path) {
    const std::size_t services = std::strlen(kServicesKey);
    return path.size() > services + 1 && AtOrBelow(path, kServicesKey) &&
           LastBackslash(path) == services;
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
