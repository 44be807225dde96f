#include "base/ImportedState.h"

#include <map>

#include "base/PathText.h"
#include "base/RegText.h"

std::string ImportedState(const std::string& text) {
    // Values of a key by upper-case name: type and data.
    using Values = std::map<std::string, std::string>;
    std::map<std::string, Values> keys;
    Values* values = nullptr;
    std::string odd, line, path;
    for (std::size_t at = 0; NextLine(text, at, line);) {
        ImportedValue value;
        if (line.empty() || line == "REGEDIT4") continue;
        if (const HKEY root = ParseSection(line, path))
            values = &keys[UpperCase(SectionName(root, path))];
        else if (!values || !ParseValueLine(line, value))
            odd += line + "\n";
        else if (value.deleted)
            values->erase(UpperCase(value.name));
        else
            (*values)[UpperCase(value.name)] = std::to_string(value.type) + ":" + value.data;
    }
    std::string state = odd;
    for (const auto& [key, named] : keys) {
        state += "[" + key + "]\n";
        for (const auto& [name, data] : named) state += name + "=" + data + "\n";
    }
    return state;
}
