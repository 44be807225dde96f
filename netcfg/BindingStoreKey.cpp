#include "netcfg/BindingStoreKey.h"

#include <cstring>

#include "sysaccess/ChangeGate.h"

namespace {
// Key names enumerated by the editor: 127 characters and the NUL.
constexpr DWORD kKeyNameBuffer = 128;
}  // namespace

BindingStoreKey::BindingStoreKey(const std::string& path, REGSAM access) : path_(path) {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key_) != ERROR_SUCCESS)
        key_ = nullptr;
}

BindingStoreKey::~BindingStoreKey() {
    if (key_) RegCloseKey(key_);
}

bool BindingStoreKey::SubkeyName(DWORD index, std::string& name) {
    if (!key_) return false;
    char buffer[kKeyNameBuffer];
    DWORD length = kKeyNameBuffer;
    if (RegEnumKeyExA(key_, index, buffer, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
        return false;
    name.assign(buffer, strnlen(buffer, length));
    return true;
}

bool BindingStoreKey::ReadList(const std::string& name, MultiStringList& list, DWORD* type) {
    list = MultiStringList();
    if (!key_) return false;
    DWORD size = kMultiStringListSize;
    DWORD valueType = REG_NONE;
    const LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, &valueType,
                                         reinterpret_cast<BYTE*>(list.bytes), &size);
    if (result != ERROR_SUCCESS || size > kMultiStringListSize) {
        list = MultiStringList();
        return false;
    }
    // Nothing of a failed or shorter read may stay behind the data.
    std::memset(list.bytes + size, 0, sizeof list.bytes - size);
    if (type) *type = valueType;
    return true;
}

bool BindingStoreKey::WriteList(const std::string& name, const MultiStringList& list,
                                DWORD length) {
    if (!key_ || length > kMultiStringListSize) return false;
    GatedChange change(
        RegistryChange(ChangeAction::RewriteBindingList, HKEY_LOCAL_MACHINE, path_, name, true));
    if (!change.Admitted()) return true;
    const LONG result = RegSetValueExA(key_, name.c_str(), 0, REG_MULTI_SZ,
                                       reinterpret_cast<const BYTE*>(list.bytes), length);
    return result == ERROR_SUCCESS ? change.Done() : change.Failed(result);
}
