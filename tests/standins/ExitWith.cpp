// exitwith.exe CODE [MILLISECONDS]: sleeps, then exits with CODE. The child of the process
// launch tests and benchmarks.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc > 2) Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
