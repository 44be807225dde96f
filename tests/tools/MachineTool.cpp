// machine.exe: lays out and inspects a test machine from the shell (used by tools/main-job.sh).
//   machine layout NAME          lay out tests/machines/NAME
//   machine snapshot FILE        write the machine's state to FILE
//   machine removed BEFORE AFTER print the lines of BEFORE that AFTER lacks
#include <cstdio>
#include <sstream>

#include "support/Machine.h"

namespace {
MachineState Load(const std::string& path) {
    MachineState state;
    std::istringstream lines(ReadWholeFile(path));
    for (std::string line; std::getline(lines, line);) state.insert(line);
    return state;
}
}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "layout" && argc == 3) {
        MachineLayout layout(argv[2]);
        return 0;
    }
    if (command == "snapshot" && argc == 3) {
        std::string text;
        for (const std::string& line : WholeMachineSnapshot()) text += line + "\n";
        return WriteWholeFile(argv[2], text) ? 0 : 1;
    }
    if (command == "removed" && argc == 4) {
        for (const std::string& line : Removed(Load(argv[2]), Load(argv[3])))
            std::printf("%s\n", line.c_str());
        return 0;
    }
    std::fprintf(stderr, "usage: machine layout NAME | snapshot FILE | removed BEFORE AFTER\n");
    return 2;
}
