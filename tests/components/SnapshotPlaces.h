#pragma once
#include <string>
#include <vector>

#include "support/Machine.h"

// The lines of state that stand for the given places or anything below them. A place is a key
// ("HKLM\\SOFTWARE\\X"), a value ("HKLM\\SOFTWARE\\X\\\\name"), a folder or a file. Keys under
// HKLM\SYSTEM\CurrentControlSet also match their ControlSet001 lines, which Wine links to them.
std::vector<std::string> LinesAt(const MachineState& state, const std::vector<std::string>& places);

// The places of which state holds no line (a fixture that did not lay them out).
std::vector<std::string> PlacesMissing(const MachineState& state,
                                       const std::vector<std::string>& places);
