#include "components/RegistryReads.h"

#include "sysaccess/RegistryKey.h"

std::vector<std::string> SubkeyNames(const std::string& path) {
    std::vector<std::string> names;
    RegistryKey key(path);
    for (std::string name = key.FirstSubkey(); !name.empty(); name = key.NextSubkey())
        names.push_back(name);
    return names;
}

std::string StringValue(const std::string& keyPath, const char* valueName) {
    std::string text;
    RegistryKey(keyPath).QueryString(valueName, text);
    return text;
}
