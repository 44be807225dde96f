#pragma once
#include <string>

// The mark a restore leaves in a kit it restored, restored.txt: one line, "Restored
// 2026-12-07 10:15:00 UTC: 461 of 461 items restored.", so that a later restore passes over a
// kit that came back whole and tries again one of which items failed.

// Writes the mark for the time now; false when it could not be written.
bool WriteRestoredMark(const std::string& kit, unsigned restored, unsigned items);
// The mark's line when it says every item came back; empty when there is none, it cannot be
// read or items failed.
std::string WholeRestoredMark(const std::string& kit);
