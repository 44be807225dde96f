#pragma once
#include <set>
#include <string>
#include <vector>

// One line per key, value, folder, file, service and restart-time deletion of the machine:
//   "key HKLM\path", "value HKLM\path\\name = sz:text\0", "dir C:\...", "file C:\... (N bytes)",
//   "service NAME", "pending 3 C:\...".
// Covered: HKLM\SOFTWARE (of its Classes only the help-file type, which the run reads),
// HKLM\SYSTEM, the current user's Software without Wine's own settings, drive C: and the
// service manager's services.
using MachineState = std::set<std::string>;
MachineState Snapshot();

// What changed from before to after, one line each, "- " for what went and "+ " for what came,
// paths written with their tokens and a restore kit's time stamp as %STAMP%; the text of each
// file that came follows its line: the program's reports (oberin-*.txt) and small text files, not
// its log nor the files of a restore kit, which are shown without their size.
std::string ChangeList(const MachineState& before, const MachineState& after);
// The lines of before that are gone from after (not merely changed: a file of another size, a
// value with other data) without a file's size or a value's data; restart-time deletions aside.
std::vector<std::string> Removed(const MachineState& before, const MachineState& after);
