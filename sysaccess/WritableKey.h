#pragma once
#include <windows.h>

#include <string>

#include "base/ReadOnlyKey.h"

// One open registry key that may also be written. Its writes do not ask the change gate: they
// are the restore's and the restore kit's own; every change a run makes goes through
// RegistryKey. Nothing throws: a failed write is false, and LastError() tells why.
class WritableKey : public ReadOnlyKey {
  public:
    WritableKey() = default;
    // Opens root\path with access; an empty path opens nothing (ERROR_BADKEY).
    WritableKey(HKEY root, const std::string& path, REGSAM access = KEY_ALL_ACCESS);
    // Opens root\path with access, making it and any missing parents (non-volatile).
    static WritableKey Create(HKEY root, const std::string& path, REGSAM access = KEY_ALL_ACCESS);

    [[nodiscard]] bool Set(const std::string& name, DWORD type, const void* data, DWORD size);
    [[nodiscard]] bool Set(const wchar_t* name, DWORD type, const void* data, DWORD size);
    // Deletes the value; false, with ERROR_FILE_NOT_FOUND, when it is not there.
    [[nodiscard]] bool DeleteValue(const std::string& name);
    [[nodiscard]] bool DeleteValue(const wchar_t* name);
    // Replaces the key's DACL with the one of descriptor.
    [[nodiscard]] bool WriteDacl(PSECURITY_DESCRIPTOR descriptor);
    // Deletes root\path, a key without subkeys; the platform's answer, ERROR_BADKEY without a
    // root or a path (a root itself is never deleted).
    static LONG DeleteKey(HKEY root, const std::string& path);
};
