#include "base/ImportedState.h"

#include <map>

#include "base/PathText.h"
#include "base/RegText.h"

std::string ImportedState(const std::string& text) {
    // Values of a key by upper-case name: type and data.
    using Values = std::map<std::string, std::string>;
    std::map<std::string, Values> keys;
    std::string odd;
    ReadRegText(
        text, 0,
        {[&](HKEY root, const std::string& path) { keys[UpperCase(SectionName(root, path))]; },
         [&](HKEY root, const std::string& path, const ImportedValue& value) {
             Values& values = keys[UpperCase(SectionName(root, path))];
             if (value.deleted)
                 values.erase(UpperCase(value.name));
             else
                 values[UpperCase(value.name)] = std::to_string(value.type) + ":" + value.data;
         },
         [&](const std::string& line, bool) { odd += line + "\n"; }});
    std::string state = odd;
    for (const auto& [key, named] : keys) {
        state += "[" + key + "]\n";
        for (const auto& [name, data] : named) state += name + "=" + data + "\n";
    }
    return state;
}
