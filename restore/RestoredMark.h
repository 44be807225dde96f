#pragma once
#include <string>

// The mark a restore leaves in a kit it restored, restored.txt: one line, "Restored
// 2026-12-07 10:15:00 UTC: 461 of 461 items restored.", so that a later restore passes over a
// kit that came back whole and tries again one of which items failed.

// Writes the mark for the time now; false when it could not be written.
bool WriteRestoredMark(const std::string& kit, unsigned restored, unsigned items);
// Whether the kit's mark says every item came back; false when there is none or it cannot be
// read.
bool RestoredWhole(const std::string& kit);
