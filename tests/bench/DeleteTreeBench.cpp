// Figures, not asserts: DeleteTree, which opens and closes every key it visits, against the
// platform's own recursive deletion on the same tree of 10,000 keys.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>
#include <string>

#include "bench/Benchmarks.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kTree[] = "Software\\OberinBenchmarkTree";

// 100 keys below the top, each with 99 subkeys: 10,000 keys.
bool BuildTree() {
    HKEY top;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTree, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &top,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool built = true;
    for (int i = 0; i < 100 && built; ++i) {
        HKEY branch;
        const std::string name = "Branch" + std::to_string(i);
        built = RegCreateKeyExA(top, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &branch,
                                nullptr) == ERROR_SUCCESS;
        for (int j = 0; j < 99 && built; ++j) {
            HKEY leaf;
            const std::string leafName = "Leaf" + std::to_string(j);
            built = RegCreateKeyExA(branch, leafName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &leaf, nullptr) == ERROR_SUCCESS;
            if (built) RegCloseKey(leaf);
        }
        if (built) RegCloseKey(branch);
    }
    RegCloseKey(top);
    return built;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// Deletes the freshly built tree once with each method and returns the seconds each took; a
// negative time when building or deleting failed.
std::pair<double, double> OneRound(DWORD(WINAPI* platformDelete)(HKEY, LPCSTR)) {
    LARGE_INTEGER start, end;
    if (!BuildTree()) return {-1, -1};
    QueryPerformanceCounter(&start);
    const bool deleted = RegistryKey(kTree).DeleteTree();
    QueryPerformanceCounter(&end);
    const double ours = Seconds(start, end);
    if (!deleted || KeyPresent(HKEY_LOCAL_MACHINE, kTree) || !BuildTree()) return {-1, -1};
    QueryPerformanceCounter(&start);
    const DWORD result = platformDelete(HKEY_LOCAL_MACHINE, kTree);
    QueryPerformanceCounter(&end);
    if (result != ERROR_SUCCESS) return {-1, -1};
    return {ours, Seconds(start, end)};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
}  // namespace

bool DeleteTreeBench() {
    using ShDeleteKey = DWORD(WINAPI*)(HKEY, LPCSTR);
    HMODULE shlwapi = LoadLibraryA("shlwapi.dll");
    if (!shlwapi) return false;
    const auto platformDelete = reinterpret_cast<ShDeleteKey>(
        reinterpret_cast<void*>(GetProcAddress(shlwapi, "SHDeleteKeyA")));
    std::vector<double> ours, platform;
    // Rounds alternate the two methods, so that a busy moment of the machine does not fall on
    // one of them alone.
    for (int round = 0; platformDelete && round < 3; ++round) {
        const std::pair<double, double> times = OneRound(platformDelete);
        if (times.first < 0) break;
        ours.push_back(times.first);
        platform.push_back(times.second);
    }
    FreeLibrary(shlwapi);
    if (ours.size() != 3) return false;
    std::printf(
        "DeleteTree of 10,000 keys: %.3f s; SHDeleteKeyA: %.3f s (medians of 3); ratio "
        "%.2f (goal within 2x of the platform)\n",
        Median(ours), Median(platform), Median(ours) / Median(platform));
    return true;
}
