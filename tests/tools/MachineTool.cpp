// machine.exe: lays out and inspects a test machine from the shell (used by tools/main-job.sh).
//   machine layout NAME          lay out tests/machines/NAME
//   machine snapshot FILE        write the machine's state to FILE
//   machine removed BEFORE AFTER print the lines of BEFORE that AFTER lacks
//   machine summary BEFORE AFTER what went, by kind, and what was left and why
//   machine run NAME DIR BEFORE AFTER
//                                lay out NAME, snapshot it to BEFORE, run DIR\oberin.exe s in
//                                DIR while the layout's held files stay open, snapshot to AFTER
#include <cstdio>
#include <sstream>

#include "support/Machine.h"
#include "support/RunSummary.h"

namespace {
MachineState Load(const std::string& path) {
    MachineState state;
    std::istringstream lines(ReadWholeFile(path));
    for (std::string line; std::getline(lines, line);) state.insert(line);
    return state;
}

bool WriteState(const std::string& path) {
    std::string text;
    for (const std::string& line : WholeMachineSnapshot()) text += line + "\n";
    return WriteWholeFile(path, text);
}
}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "layout" && argc == 3) {
        MachineLayout layout(argv[2]);
        return 0;
    }
    if (command == "snapshot" && argc == 3) return WriteState(argv[2]) ? 0 : 1;
    if (command == "summary" && argc == 4) {
        std::printf("%s", RunSummary(Load(argv[2]), Load(argv[3])).c_str());
        return 0;
    }
    if (command == "run" && argc == 6) {
        MachineLayout layout(argv[2]);
        const std::string directory = argv[3];
        if (!WriteState(argv[4])) return 1;
        RunAndWait("\"" + directory + "\\oberin.exe\" s", directory);
        return WriteState(argv[5]) ? 0 : 1;
    }
    if (command == "removed" && argc == 4) {
        for (const std::string& line : Removed(Load(argv[2]), Load(argv[3])))
            std::printf("%s\n", line.c_str());
        return 0;
    }
    std::fprintf(
        stderr,
        "usage: machine layout NAME | snapshot FILE | removed BEFORE AFTER | summary BEFORE "
        "AFTER | run NAME DIR BEFORE AFTER\n");
    return 2;
}
