// benchmarks.exe: prints the figures of every benchmark; they assert nothing on time.
#include "bench/Benchmarks.h"

int main() {
    bool measured = ProgramSizeBench();
    measured = RunProgramBench() && measured;
    measured = WholeRunBench() && measured;
    measured = DeleteTreeBench() && measured;
    return measured ? 0 : 1;
}
