#include "components/SnapshotPlaces.h"

namespace {
const char kCurrentControlSet[] = "HKLM\\SYSTEM\\CurrentControlSet\\";
const char kControlSet001[] = "HKLM\\SYSTEM\\ControlSet001\\";

bool IsAtOrBelow(const std::string& item, const std::string& place) {
    if (item.compare(0, place.size(), place) != 0) return false;
    if (item.size() == place.size()) return true;
    const char next = item[place.size()];
    return next == '\\' || next == '=';
}

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

std::vector<std::string> LinesAt(const MachineState& state,
                                 const std::vector<std::string>& places) {
    const std::vector<std::string> all = WithLinkedControlSet(places);
    std::vector<std::string> lines;
    for (const std::string& line : state) {
        const std::string item = line.substr(line.find(' ') + 1);
        for (const std::string& place : all) {
            if (IsAtOrBelow(item, place)) {
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
