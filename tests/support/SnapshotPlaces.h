#pragma once
#include <string>
#include <vector>

#include "support/Machine.h"

// Snapshot lines (see Snapshot) matched against places: a key ("HKLM\\SOFTWARE\\X"), a value
// ("HKLM\\SOFTWARE\\X\\\\name"), a folder or a file, or "service NAME". Names are compared
// without regard to case, as Windows compares them.

// The path a line names, a value's data cut off: "HKLM\\SOFTWARE\\X\\\\name".
std::string PathOf(const std::string& line);
// The line's kind word and path: "value HKLM\\SOFTWARE\\X\\\\name".
std::string KindAndPath(const std::string& line);
// True when path is place or lies below it.
bool IsAtOrBelow(const std::string& path, const std::string& place);

// The lines of state that stand for the given places or anything below them; a deletion on the
// restart list ("pending PATH") is no part of its file. Keys under HKLM\SYSTEM\CurrentControlSet
// also match their ControlSet001 lines, which Wine links to them.
std::vector<std::string> LinesAt(const MachineState& state, const std::vector<std::string>& places);

// The places of which state holds no line (a fixture that did not lay them out).
std::vector<std::string> PlacesMissing(const MachineState& state,
                                       const std::vector<std::string>& places);
