#include "sysaccess/RegistryKey.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "sysaccess/ChangeGate.h"

namespace {
// Longest key name the registry allows, plus its terminating NUL.
constexpr DWORD kKeyNameBuffer = 256;
// KEY_READ | WRITE_DAC: enough to read and replace a key's DACL.
constexpr REGSAM kSecurityAccess = 0x60019;
}  // namespace

RegistryKey::RegistryKey(const std::string& path) : RegistryKey(HKEY_LOCAL_MACHINE, path) {}

RegistryKey::RegistryKey(HKEY root, const std::string& path) : root_(root), path_(path) {}

RegistryKey::~RegistryKey() {
    Close();
}

bool RegistryKey::Connect(HKEY* connection) {
    lastError_ = RegConnectRegistryA(nullptr, root_, connection);
    return lastError_ == ERROR_SUCCESS;
}

bool RegistryKey::Open() {
    Close();
    if (path_.empty()) return false;
    if (!Connect(&connection_)) return false;
    return Held(RegOpenKeyExA(connection_, path_.c_str(), 0, KEY_ALL_ACCESS, &key_));
}

bool RegistryKey::Create() {
    Close();
    if (path_.empty()) return false;
    if (!Connect(&connection_)) return false;
    if (!Held(RegCreateKeyExA(connection_, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key_, &disposition_)))
        return false;
    createdNew_ = disposition_ == REG_CREATED_NEW_KEY;
    return true;
}

bool RegistryKey::Held(LONG openResult) {
    lastError_ = openResult;
    if (openResult != ERROR_SUCCESS) {
        RegCloseKey(connection_);
        connection_ = nullptr;
        key_ = nullptr;
        return false;
    }
    open_ = true;
    return true;
}

void RegistryKey::Close() {
    if (!open_) return;
    open_ = false;
    status_ = RegistryClosed;
    RegCloseKey(key_);
    RegCloseKey(connection_);
    key_ = nullptr;
    connection_ = nullptr;
}

bool RegistryKey::Present() {
    return Exists() || (!path_.empty() && lastError_ == ERROR_ACCESS_DENIED);
}

bool RegistryKey::Exists() {
    if (open_) return true;
    const bool opened = Open();
    Close();
    return opened;
}

DWORD RegistryKey::ValueSize(const std::string& name) {
    DWORD size = 0;
    if (!Open()) {
        status_ = RegistryFailure;
        return 0;
    }
    lastError_ = RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, &size);
    Close();
    status_ = lastError_ == ERROR_SUCCESS ? RegistrySuccess : RegistryFailure;
    return size;
}

bool RegistryKey::QueryString(const std::string& name, std::string& text) {
    DWORD size = ValueSize(name);
    if (status_ != RegistrySuccess) return false;
    if (!Open()) {
        status_ = RegistryFailure;
        return false;
    }
    // The value may grow between the size query and the read; the registry then answers
    // ERROR_MORE_DATA with the new size, and the read is repeated with a buffer that fits.
    std::vector<char> data;
    DWORD type = REG_NONE;
    for (int attempt = 0; attempt < 4; ++attempt) {
        data.assign(size + 1, '\0');
        DWORD read = size;
        lastError_ = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &read);
        if (lastError_ != ERROR_MORE_DATA) {
            size = read;
            break;
        }
        size = read;
    }
    Close();
    if (lastError_ != ERROR_SUCCESS) {
        status_ = RegistryFailure;
        return false;
    }
    if (type != REG_SZ) {
        status_ = RegistryWrongType;
        return true;
    }
    // String data need not end in a NUL: take the bytes up to the first NUL or the end.
    const char* begin = data.data();
    text.assign(begin, strnlen(begin, size));
    status_ = RegistrySuccess;
    return true;
}

bool RegistryKey::SetDword(const std::string& name, DWORD value) {
    Change setting = RegistryChange(ChangeAction::SetValue, root_, path_, name, HasValue(name));
    setting.alreadySet = setting.present && HoldsDword(name, value);
    GatedChange change(setting);
    if (!change.Admitted()) return true;
    if (!Create()) {
        status_ = RegistryFailure;
        return change.Failed(lastError_);
    }
    lastError_ = RegSetValueExA(key_, name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&value), sizeof value);
    Close();
    status_ = lastError_ == ERROR_SUCCESS ? RegistrySuccess : RegistryFailure;
    return lastError_ == ERROR_SUCCESS ? change.Done() : change.Failed(lastError_);
}

bool RegistryKey::DeleteValue(const std::string& name) {
    GatedChange change(
        RegistryChange(ChangeAction::DeleteValue, root_, path_, name, HasValue(name)));
    if (!change.Admitted()) return true;
    if (!Open()) {
        if (lastError_ != ERROR_FILE_NOT_FOUND) return change.Failed(lastError_);
        change.Absent();
        return false;
    }
    const LONG result = RegDeleteValueA(key_, name.c_str());
    Close();
    if (result == ERROR_SUCCESS) return change.Done();
    if (result == ERROR_FILE_NOT_FOUND) {
        change.Absent();
        return false;
    }
    return change.Failed(result);
}

bool RegistryKey::HasValue(const std::string& name) {
    ValueSize(name);
    return status_ == RegistrySuccess;
}

bool RegistryKey::HoldsDword(const std::string& name, DWORD value) {
    if (!Open()) return false;
    DWORD type = REG_NONE, data = 0, size = sizeof data;
    const LONG result =
        RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    Close();
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof data && data == value;
}

std::string RegistryKey::FirstSubkey() {
    if (!Open()) return std::string();
    walkIndex_ = 0;
    std::string name = NextSubkey();
    Close();
    return name;
}

std::string RegistryKey::NextSubkey() {
    const DWORD index = walkIndex_++;
    if (!Open()) return std::string();
    char name[kKeyNameBuffer];
    DWORD length = kKeyNameBuffer;
    const LONG result =
        RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    Close();
    if (result != ERROR_SUCCESS) return std::string();
    return std::string(name, length);
}

bool RegistryKey::DeleteTree() {
    // Only a key that is not there (or an empty path) counts as deleted.
    const bool present = Present();
    GatedChange change(RegistryChange(ChangeAction::DeleteKey, root_, path_, "", present));
    if (!change.Admitted()) return true;
    if (!present) return change.Absent();
    return DeleteRecursive(root_, path_) ? change.Done() : change.Failed(lastError_);
}

bool RegistryKey::DeleteRecursive(HKEY root, const std::string& path) {
    return DeleteRecursiveOnce(root, path, true);
}

bool RegistryKey::DeleteRecursiveOnce(HKEY root, const std::string& path, bool mayResetSecurity) {
    const LONG result = DeleteSubkeysAndKey(root, path);
    lastError_ = result;
    if (result != ERROR_ACCESS_DENIED || !mayResetSecurity) return result == ERROR_SUCCESS;
    // Refused for lack of access: open the key to everyone and try once more. A key that still
    // cannot go gets its old DACL back rather than stay open to every user.
    std::string saved;
    if (!ResetKeySecurity(root, path, &saved)) return false;
    if (DeleteRecursiveOnce(root, path, false)) return true;
    RestoreKeySecurity(root, path, saved);
    return false;
}

LONG RegistryKey::DeleteSubkeysAndKey(HKEY root, const std::string& path) {
    RegistryKey target(root, path);
    if (!target.Open()) return path.empty() ? ERROR_BADKEY : target.lastError_;
    // Always take the first subkey: each deleted one moves the rest down. A subkey that stays
    // ends the loop, and with it this key, which cannot be deleted while it has subkeys; its
    // own security reset could not help either.
    for (;;) {
        char name[kKeyNameBuffer];
        DWORD length = kKeyNameBuffer;
        if (RegEnumKeyExA(target.key_, 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (!DeleteRecursiveOnce(root, path + "\\" + std::string(name, length), true))
            return ERROR_DIR_NOT_EMPTY;
    }
    const LONG result = RegDeleteKeyA(target.connection_, path.c_str());
    target.Close();
    return result;
}

namespace {
// Reads the key's DACL as a self-relative descriptor. Some registries answer the size query
// with "insufficient buffer" but no size, so the buffer grows until the descriptor fits.
bool ReadDacl(HKEY key, std::string& descriptor) {
    DWORD size = 0;
    if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size) !=
        ERROR_INSUFFICIENT_BUFFER)
        return false;
    size = std::max<DWORD>(size, sizeof(SECURITY_DESCRIPTOR));
    for (int attempt = 0; attempt < 8; ++attempt) {
        descriptor.assign(size, '\0');
        DWORD needed = size;
        const LONG result =
            RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor[0], &needed);
        if (result == ERROR_SUCCESS) return true;
        if (result != ERROR_INSUFFICIENT_BUFFER) return false;
        size = std::max(needed, size * 2);
    }
    return false;
}
}  // namespace

bool RegistryKey::ResetKeySecurity(HKEY root, const std::string& path, std::string* saved) {
    RegistryKey target(root, path);
    HKEY connection = nullptr;
    if (path.empty() || !target.Connect(&connection)) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(connection, path.c_str(), 0, kSecurityAccess, &key) != ERROR_SUCCESS) {
        RegCloseKey(connection);
        return false;
    }
    // A null DACL grants every user full access; owner, group and audit settings stay.
    std::string old;
    SECURITY_DESCRIPTOR open;
    const bool result = ReadDacl(key, old) &&
                        InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION) &&
                        SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE) &&
                        IsValidSecurityDescriptor(&open) &&
                        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &open) == ERROR_SUCCESS;
    if (result && saved) *saved = old;
    RegCloseKey(key);
    RegCloseKey(connection);
    return result;
}

bool RegistryKey::RestoreKeySecurity(HKEY root, const std::string& path, const std::string& saved) {
    RegistryKey target(root, path);
    HKEY connection = nullptr;
    if (saved.empty() || !target.Connect(&connection)) return false;
    HKEY key = nullptr;
    bool result = false;
    if (RegOpenKeyExA(connection, path.c_str(), 0, kSecurityAccess, &key) == ERROR_SUCCESS) {
        std::string descriptor = saved;
        result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor[0]) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    RegCloseKey(connection);
    return result;
}
