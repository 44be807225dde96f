#include "support/SnapshotPlaces.h"

#include <cstring>

namespace {
const char kCurrentControlSet[] = "HKLM\\SYSTEM\\CurrentControlSet\\";
const char kControlSet001[] = "HKLM\\SYSTEM\\ControlSet001\\";

std::vector<std::string> WithLinkedControlSet(const std::vector<std::string>& places) {
    std::vector<std::string> all = places;
    const std::string current = kCurrentControlSet;
    for (const std::string& place : places) {
        if (place.compare(0, current.size(), current) == 0)
            all.push_back(kControlSet001 + place.substr(current.size()));
    }
    return all;
}
}  // namespace

std::string PathOf(const std::string& line) {
    std::string path = line.substr(line.find(' ') + 1);
    // A value's data ("=type:hex") holds no '='.
    if (line.compare(0, 6, "value ") == 0) path.erase(path.rfind('='));
    return path;
}

std::string KindAndPath(const std::string& line) {
    return line.substr(0, line.find(' ') + 1) + PathOf(line);
}

bool IsAtOrBelow(const std::string& path, const std::string& place) {
    if (path.size() < place.size() || _strnicmp(path.c_str(), place.c_str(), place.size()) != 0)
        return false;
    return path.size() == place.size() || path[place.size()] == '\\';
}

std::vector<std::string> LinesAt(const MachineState& state,
                                 const std::vector<std::string>& places) {
    const std::vector<std::string> all = WithLinkedControlSet(places);
    std::vector<std::string> lines;
    for (const std::string& line : state) {
        if (line.compare(0, 8, "pending ") == 0) continue;
        const std::string path = PathOf(line);
        for (const std::string& place : all) {
            if (IsAtOrBelow(path, place) || KindAndPath(line) == place) {
                lines.push_back(line);
                break;
            }
        }
    }
    return lines;
}

std::vector<std::string> PlacesMissing(const MachineState& state,
                                       const std::vector<std::string>& places) {
    std::vector<std::string> missing;
    for (const std::string& place : places) {
        if (LinesAt(state, {place}).empty()) missing.push_back(place);
    }
    return missing;
}
