#include "support/RegistryEdit.h"

#include <vector>

bool KeyPresent(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool MakeKey(HKEY root, const std::string& path) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result =
        RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
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
    if (result == ERROR_SUCCESS) {
        std::vector<BYTE> bytes(size + 1);
        result = RegQueryValueExA(key, name.c_str(), nullptr, type, bytes.data(), &size);
        data->assign(reinterpret_cast<const char*>(bytes.data()), size);
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool RemoveKey(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return !KeyPresent(root, path);
    char name[256];
    DWORD length = sizeof name;
    std::vector<std::string> children;
    for (DWORD i = 0;
         RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
        children.emplace_back(name, length);
    RegCloseKey(key);
    for (const std::string& child : children) RemoveKey(root, path + "\\" + child);
    RegDeleteKeyA(root, path.c_str());
    return !KeyPresent(root, path);
}
