#pragma once
#include "support/Machine.h"

// The rows of netcfg\FILE, "{N text}" in a field standing for N copies of text, "#" numbering them.
inline std::vector<std::vector<std::string>> NetcfgCases(const std::string& file) {
    auto rows = CaseTable("netcfg\\" + file);
    for (auto& row : rows)
        for (std::string& field : row)
            for (size_t open; (open = field.find('{')) != std::string::npos;) {
                const size_t space = field.find(' ', open), close = field.find('}', space);
                std::string copies;
                for (int copy = 0, count = std::stoi(field.substr(open + 1)); copy < count; ++copy)
                    for (char c : field.substr(space + 1, close - space - 1))
                        copies += c == '#' ? std::to_string(copy) : std::string(1, c);
                field.replace(open, close - open + 1, copies);
            }
    return rows;
}
