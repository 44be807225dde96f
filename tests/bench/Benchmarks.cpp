// benchmarks.exe: prints the figures of the README, each labelled with the architecture it ran
// on. It asserts nothing on time; a figure that could not be measured gets a line saying so, and
// the exit code 1. The shipped program's size and imports are read by shipped_program.py.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/Machine.h"
#include "support/MachineLayout.h"
#include "support/RegistryEdit.h"
#include "sysaccess/ProcessLaunch.h"
#include "sysaccess/RegistryKey.h"

namespace {
const std::string kTree = "Software\\OberinBenchmarkTree";
bool measured = true;

// One figure, a line that starts with the architecture it was measured on.
void Figure(const char* format, ...) {
    std::printf("%s: ", sizeof(void*) == 8 ? "x64" : "x86");
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
}

void NotMeasured(const char* what) {
    Figure("%s: NOT MEASURED\n", what);
    measured = false;
}

// Seconds of counts of the performance counter; without counts, of its reading now.
double Seconds(long long counts = 0) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(counts ? counts : now.QuadPart) / double(frequency.QuadPart);
}

std::pair<double, double> MedianMax(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

void RunProgramReturn() {
    const std::string stamp = FreshFolder("C:\\bench") + "\\ended.txt";
    std::vector<double> late;
    for (int run = 0; run < 15; ++run) {
        if (!RunProgram(
                "\"" + BinDir() + "\\testuninstaller.exe\" /exit 259 /sleep 100 /stamp " + stamp,
                true))
            return NotMeasured("RunProgram with wait (the child did not run)");
        late.push_back(1e3 * (Seconds() - Seconds(std::atoll(ReadWholeFile(stamp).c_str()))));
    }
    Figure("RunProgram with wait returns %.1f ms after its child ends (median; max %.1f)\n",
           MedianMax(late).first, MedianMax(late).second);
}

// Five runs on the clean server, then five on the sample server, laid out anew before each.
void WholeRuns() {
    std::vector<double> times[2];
    for (int run = 0; run < 10; ++run) {
        FreshFolder("C:\\server");
        MachineLayout layout(run < 5 ? "clean" : "sample-server");
        const double start = Seconds();
        if (RunAndWait("\"" + BinDir() + "\\oberin.exe\" s", "C:\\server") != 0)
            return NotMeasured("Silent run (oberin.exe failed or took over 20 s)");
        times[run / 5].push_back(Seconds() - start);
    }
    Figure("Silent run, median of 5: clean server %.2f s, sample server %.2f s (max %.2f)\n",
           MedianMax(times[0]).first, MedianMax(times[1]).first, MedianMax(times[1]).second);
}

// Rounds alternate the two deletions, so that a busy moment of the machine does not fall on one.
void DeleteTrees() {
    auto build = [] {  // 100 branches of 99 leaves below the top key: 10,000 keys
        bool built = true;
        for (int i = 0; i < 9900 && built; ++i)
            built = MakeKey(HKEY_LOCAL_MACHINE,
                            kTree + "\\" + std::to_string(i / 99) + "\\" + std::to_string(i));
        return built;
    };
    std::vector<double> ours, platform;
    for (int round = 0; round < 3 && build(); ++round) {
        double start = Seconds();
        const bool deleted = RegistryKey(HKEY_LOCAL_MACHINE, kTree).DeleteTree();
        ours.push_back(Seconds() - start);
        if (!deleted || KeyPresent(HKEY_LOCAL_MACHINE, kTree) || !build()) break;
        start = Seconds();
        if (SHDeleteKeyA(HKEY_LOCAL_MACHINE, kTree.c_str()) != ERROR_SUCCESS) break;
        platform.push_back(Seconds() - start);
    }
    if (platform.size() < 3) return NotMeasured("DeleteTree (a tree was not built or deleted)");
    const double mine = MedianMax(ours).first, theirs = MedianMax(platform).first;
    Figure("10,000 keys: DeleteTree %.3f s, SHDeleteKeyA %.3f s (medians of 3, ratio %.2f)\n", mine,
           theirs, mine / theirs);
}
}  // namespace

int main() {
    RunProgramReturn();
    WholeRuns();
    DeleteTrees();
    return measured ? 0 : 1;
}
