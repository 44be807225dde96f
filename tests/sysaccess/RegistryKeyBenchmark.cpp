// Figures, not asserts: DeleteTree, which opens and closes every key it visits, against the
// platform's own recursive deletion on the same tree of 10,000 keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

TEST(RegistryKeyBenchmark, DeleteTreeAgainstThePlatform) {
    using ShDeleteKey = DWORD(WINAPI*)(HKEY, LPCSTR);
    HMODULE shlwapi = LoadLibraryA("shlwapi.dll");
    ASSERT_TRUE(shlwapi);
    const auto platformDelete = reinterpret_cast<ShDeleteKey>(
        reinterpret_cast<void*>(GetProcAddress(shlwapi, "SHDeleteKeyA")));
    ASSERT_TRUE(platformDelete);

    LARGE_INTEGER start, end;
    ASSERT_TRUE(BuildTree());
    QueryPerformanceCounter(&start);
    EXPECT_TRUE(RegistryKey(kTree).DeleteTree());
    QueryPerformanceCounter(&end);
    const double ours = Seconds(start, end);
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kTree));

    ASSERT_TRUE(BuildTree());
    QueryPerformanceCounter(&start);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), platformDelete(HKEY_LOCAL_MACHINE, kTree));
    QueryPerformanceCounter(&end);
    const double platform = Seconds(start, end);
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kTree));
    FreeLibrary(shlwapi);

    std::printf("DeleteTree of 10,000 keys: %.3f s; SHDeleteKeyA: %.3f s; ratio %.2f\n", ours,
                platform, ours / platform);
}
}  // namespace
