// Figures, not asserts: DeleteTree, which opens and closes every key it visits, against the
// platform's own recursive deletion on the same tree of 10,000 keys.
#include <windows.h>

#include <cstdio>
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

}  // namespace

bool DeleteTreeBench() {
    using ShDeleteKey = DWORD(WINAPI*)(HKEY, LPCSTR);
    HMODULE shlwapi = LoadLibraryA("shlwapi.dll");
    if (!shlwapi) return false;
    const auto platformDelete = reinterpret_cast<ShDeleteKey>(
        reinterpret_cast<void*>(GetProcAddress(shlwapi, "SHDeleteKeyA")));
    LARGE_INTEGER start, end;
    if (!platformDelete || !BuildTree()) return false;
    QueryPerformanceCounter(&start);
    const bool deleted = RegistryKey(kTree).DeleteTree();
    QueryPerformanceCounter(&end);
    const double ours = Seconds(start, end);
    if (!deleted || KeyPresent(HKEY_LOCAL_MACHINE, kTree) || !BuildTree()) return false;

    QueryPerformanceCounter(&start);
    const DWORD result = platformDelete(HKEY_LOCAL_MACHINE, kTree);
    QueryPerformanceCounter(&end);
    const double platform = Seconds(start, end);
    FreeLibrary(shlwapi);
    if (result != ERROR_SUCCESS) return false;

    std::printf(
        "DeleteTree of 10,000 keys: %.3f s; SHDeleteKeyA: %.3f s; ratio %.2f (goal within "
        "2x of the platform)\n",
        ours, platform, ours / platform);
    return true;
}
