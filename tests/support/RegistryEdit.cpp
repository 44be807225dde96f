#include "support/RegistryEdit.h"

#include <shlwapi.h>

bool KeyPresent(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool MakeKey(HKEY root, const std::string& path) {
    HKEY key;
    if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                const void* data, DWORD size) {
    return SHSetValueA(root, path.c_str(), name.c_str(), type, data, size) == ERROR_SUCCESS;
}

bool WriteString(HKEY root, const std::string& path, const std::string& name,
                 const std::string& text) {
    return WriteValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool ReadValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
               std::string* data) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, name.c_str(), nullptr, type, nullptr, &size);
    data->assign(size + 1, '\0');
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExA(key, name.c_str(), nullptr, type,
                                  reinterpret_cast<BYTE*>(&(*data)[0]), &size);
    data->resize(size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool RemoveKey(HKEY root, const std::string& path) {
    SHDeleteKeyA(root, path.c_str());
    return !KeyPresent(root, path);
}
