// exitwith.exe CODE [MILLISECONDS [STAMPFILE]]: sleeps, writes the performance counter to
// STAMPFILE just before it ends, then exits with CODE. The child of the process launch tests
// and benchmarks.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc > 2) Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    if (argc > 3) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (std::FILE* stamp = std::fopen(argv[3], "w")) {
            std::fprintf(stamp, "%lld", static_cast<long long>(now.QuadPart));
            std::fclose(stamp);
        }
    }
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
