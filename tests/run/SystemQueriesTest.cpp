// The directory queries and the two version tests against the prefix's registry and version.
#include <gtest/gtest.h>

#include "run/SystemQueries.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
TEST(SystemQueriesTest, DirectoriesEndInOneBackslashAndThePrefixIsNt4) {
    char system[MAX_PATH], windows[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(std::string(system) + "\\", SystemDirectory());
    EXPECT_EQ(std::string(windows) + "\\", WindowsDirectory());
    EXPECT_TRUE(IsNt4Version());
    EXPECT_FALSE(IsNt351Build());
}

// CurrentBuildNumber as stored data, and whether it names an NT 3.51 build.
bool Nt351With(DWORD type, const std::string& data) {
    const char kKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    RegistryKey(kKey).DeleteValue("CurrentBuildNumber");
    if (type != REG_NONE)
        WriteValue(HKEY_LOCAL_MACHINE, kKey, "CurrentBuildNumber", type, data.data(),
                   DWORD(data.size()));
    const bool nt351 = IsNt351Build();
    WriteString(HKEY_LOCAL_MACHINE, kKey, "CurrentBuildNumber", "1381");
    return nt351;
}

TEST(SystemQueriesTest, Nt351BuildsFromTheRegistrysBuildNumber) {
    const struct {
        const char* text;
        bool nt351;
    } cases[] = {
        {"943", false},
        {"944", true},
        {"1057", true},
        {"1058", false},
        {"1057 Service Pack 5", true},
        {"  +1000", true},
        {"", false},
        {"build 1057", false},
        {"-1000", false},
        {"4294968240", false},  // 2^32 + 944 saturates rather than wraps
        {"99999999999999999999999999999999999999999999999999999999001000", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nt351, Nt351With(REG_SZ, std::string(c.text) + '\0')) << c.text;
    EXPECT_TRUE(Nt351With(REG_SZ, "1000"));  // without its closing NUL
    EXPECT_FALSE(Nt351With(REG_EXPAND_SZ, std::string("1000", 5)));
    EXPECT_FALSE(Nt351With(REG_DWORD, std::string("\xE8\3\0\0", 4)));
    EXPECT_FALSE(Nt351With(REG_NONE, ""));  // no value
}
}  // namespace
