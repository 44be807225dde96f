#include "sysaccess/RegistryKey.h"

#include "sysaccess/ChangeGate.h"

namespace {
// KEY_READ | WRITE_DAC: enough to read and replace a key's DACL.
constexpr REGSAM kSecurityAccess = 0x60019;
}  // namespace

RegistryKey::RegistryKey(const std::string& path) : RegistryKey(HKEY_LOCAL_MACHINE, path) {}

RegistryKey::RegistryKey(HKEY root, const std::string& path) : root_(root), path_(path) {}

WritableKey* RegistryKey::Opened() {
    if (key_.IsOpen()) return &key_;
    if (path_.empty()) return nullptr;
    key_ = WritableKey(root_, path_);
    lastError_ = key_.LastError();
    return key_.IsOpen() ? &key_ : nullptr;
}

WritableKey* RegistryKey::Created() {
    if (key_.IsOpen()) return &key_;
    if (path_.empty()) return nullptr;
    key_ = WritableKey::Create(root_, path_);
    lastError_ = key_.LastError();
    return key_.IsOpen() ? &key_ : nullptr;
}

bool RegistryKey::Exists() {
    return Opened() != nullptr;
}

bool RegistryKey::Present() {
    return Exists() || (!path_.empty() && lastError_ == ERROR_ACCESS_DENIED);
}

bool RegistryKey::QueryString(const std::string& name, std::string& text) {
    return Opened() && key_.QueryString(name, text);
}

bool RegistryKey::HasValue(const std::string& name) {
    DWORD size = 0;
    return Opened() && key_.ValueSize(name, size);
}

bool RegistryKey::HoldsDword(const std::string& name, DWORD value) {
    DWORD type = REG_NONE, data = 0, size = sizeof data;
    return Opened() && key_.ReadInto(name, &data, size, type) && type == REG_DWORD &&
           size == sizeof data && data == value;
}

bool RegistryKey::SetDword(const std::string& name, DWORD value) {
    Change setting = RegistryChange(ChangeAction::SetValue, root_, path_, name, HasValue(name));
    setting.alreadySet = setting.present && HoldsDword(name, value);
    GatedChange change(setting);
    if (!change.Admitted()) return true;
    if (!Created()) return change.Failed(lastError_);
    return key_.Set(name, REG_DWORD, &value, sizeof value) ? change.Done()
                                                           : change.Failed(key_.LastError());
}

bool RegistryKey::RewriteList(const std::string& name, const char* data, DWORD length) {
    GatedChange change(RegistryChange(ChangeAction::RewriteBindingList, root_, path_, name, true));
    if (!change.Admitted()) return true;
    if (!Opened()) return change.Failed(lastError_);
    return key_.Set(name, REG_MULTI_SZ, data, length) ? change.Done()
                                                      : change.Failed(key_.LastError());
}

bool RegistryKey::DeleteValue(const std::string& name) {
    GatedChange change(
        RegistryChange(ChangeAction::DeleteValue, root_, path_, name, HasValue(name)));
    if (!change.Admitted()) return true;
    const bool opened = Opened() != nullptr;
    if (opened && key_.DeleteValue(name)) return change.Done();
    const LONG result = opened ? key_.LastError() : lastError_;
    if (result == ERROR_FILE_NOT_FOUND) {
        change.Absent();
        return false;
    }
    return change.Failed(result);
}

std::string RegistryKey::FirstSubkey() {
    if (!Opened()) return std::string();
    walkIndex_ = 0;
    return NextSubkey();
}

std::string RegistryKey::NextSubkey() {
    const DWORD index = walkIndex_++;
    std::string name;
    if (!Opened() || !key_.SubkeyName(index, name)) return std::string();
    return name;
}

bool RegistryKey::DeleteTree() {
    // Only a key that is not there (or an empty path) counts as deleted.
    const bool present = Present();
    GatedChange change(RegistryChange(ChangeAction::DeleteKey, root_, path_, "", present));
    if (!change.Admitted()) return true;
    if (!present) return change.Absent();
    // The key is about to go: no handle of this object stays on it.
    key_ = WritableKey();
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
    WritableKey target(root, path);
    if (!target.IsOpen()) return target.LastError();
    // Always take the first subkey: each deleted one moves the rest down. A subkey that stays
    // ends the loop, and with it this key, which cannot be deleted while it has subkeys; its
    // own security reset could not help either.
    for (std::string name; target.SubkeyName(0, name);) {
        if (!DeleteRecursiveOnce(root, path + "\\" + name, true)) return ERROR_DIR_NOT_EMPTY;
    }
    return WritableKey::DeleteKey(root, path);
}

bool RegistryKey::ResetKeySecurity(HKEY root, const std::string& path, std::string* saved) {
    WritableKey key(root, path, kSecurityAccess);
    // A null DACL grants every user full access; owner, group and audit settings stay.
    std::string old;
    SECURITY_DESCRIPTOR open;
    const bool result = key.ReadDacl(old) &&
                        InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION) &&
                        SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE) &&
                        IsValidSecurityDescriptor(&open) && key.WriteDacl(&open);
    if (result && saved) *saved = old;
    return result;
}

bool RegistryKey::RestoreKeySecurity(HKEY root, const std::string& path, const std::string& saved) {
    if (saved.empty()) return false;
    WritableKey key(root, path, kSecurityAccess);
    std::string descriptor = saved;
    return key.WriteDacl(&descriptor[0]);
}
