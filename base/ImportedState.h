#pragma once
#include <string>

// What importing REGEDIT4 text leaves, as one text to compare: each key once, named without
// case, with its values by name without case, the last line for a name winning and a deleted
// value left out. Two texts give the same state when their imports leave the same keys and
// values. A line the import cannot read is kept as it stands; comments are left out.
std::string ImportedState(const std::string& text);
