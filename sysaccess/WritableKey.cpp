#include "sysaccess/WritableKey.h"

WritableKey::WritableKey(HKEY root, const std::string& path, REGSAM access)
    : ReadOnlyKey(root, path, access) {}

WritableKey WritableKey::Create(HKEY root, const std::string& path, REGSAM access) {
    WritableKey key;
    if (path.empty()) {
        key.Answer(ERROR_BADKEY);
        return key;
    }
    key.Answer(RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                               nullptr, key.key_.Receive(), nullptr));
    return key;
}

bool WritableKey::Set(const std::string& name, DWORD type, const void* data, DWORD size) {
    return IsOpen() && Answer(RegSetValueExA(Handle(), name.c_str(), 0, type,
                                             static_cast<const BYTE*>(data), size));
}

bool WritableKey::Set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    return IsOpen() &&
           Answer(RegSetValueExW(Handle(), name, 0, type, static_cast<const BYTE*>(data), size));
}

bool WritableKey::DeleteValue(const std::string& name) {
    return IsOpen() && Answer(RegDeleteValueA(Handle(), name.c_str()));
}

bool WritableKey::DeleteValue(const wchar_t* name) {
    return IsOpen() && Answer(RegDeleteValueW(Handle(), name));
}

bool WritableKey::WriteDacl(PSECURITY_DESCRIPTOR descriptor) {
    return IsOpen() && Answer(RegSetKeySecurity(Handle(), DACL_SECURITY_INFORMATION, descriptor));
}

LONG WritableKey::DeleteKey(HKEY root, const std::string& path) {
    if (!root || path.empty()) return ERROR_BADKEY;
    return RegDeleteKeyA(root, path.c_str());
}
