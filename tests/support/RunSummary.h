#pragma once
#include <string>

#include "support/Machine.h"

// A short account of what a run changed on a machine, from its snapshots before and after:
// what was removed, counted by kind, and what was left of it and why.
std::string RunSummary(const MachineState& before, const MachineState& after);
