#pragma once
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "support/Machine.h"
#include "support/SnapshotPlaces.h"

// What the catalog removes from the sample server of tests/machines/sample-server, and how two
// whole-machine snapshots of it differ.

// The places (as snapshot lines name them, without the kind) that a run on Windows NT 4.0
// removes entirely from the sample server: keys with everything below them, values, files,
// folders with their contents, and "service NAME" for services the service manager deletes.
std::vector<std::string> SampleServerRemovals();
// The main files held open by the sample server: each is scheduled for deletion at the restart.
std::vector<std::string> HeldMainFiles();
// The values the adapter applets rewrite rather than delete, and the key they create.
std::vector<std::string> SampleServerRewrites();
std::vector<std::string> SampleServerCreations();

// The whole machine the tests compare: registry, Windows and Program Files folders, the
// service manager's services and the restart-time deletions.
MachineState ServerState();

// Paths (a line's kind and its path: a value's data cut off) that went, that came, and that
// stayed with other data. What Wine itself changes whatever runs (the display's video device
// registered by each process with a window) is left out.
struct ServerChanges {
    std::set<std::string> removed, added, rewritten;
};
ServerChanges ChangesOf(const MachineState& before, const MachineState& after);
// KindAndPath of the lines of state at or below the given places (see LinesAt).
std::set<std::string> PathsAt(const MachineState& state, const std::vector<std::string>& places);

// The restart list's value, as the snapshot names it (both control sets).
std::set<std::string> RestartList(const MachineState& state);
// The paths of expected that actual lacks, and of actual that expected lacks.
std::pair<std::set<std::string>, std::set<std::string>> Mismatch(
    const std::set<std::string>& expected, const std::set<std::string>& actual);
// A file of the fixture tests/machines/MACHINE.
std::string Golden(const std::string& machine, const std::string& name = "expected.log");

// The lines of a log, for readable failures.
std::vector<std::string> LogLines(const std::string& log);
