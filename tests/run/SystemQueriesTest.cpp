// The directory queries and the two version tests against the prefix's registry and version.
#include <gtest/gtest.h>

#include "run/SystemQueries.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// Sets CurrentBuildNumber to raw registry data for one check and puts back the NT 4.0 build.
class BuildNumberTest : public ::testing::Test {
  protected:
    void TearDown() override { Set(REG_SZ, "1381", 5); }
    static void Set(DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "CurrentBuildNumber", type,
                               data, size));
    }
    static bool With(const std::string& text) {
        Set(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
        return IsNt351Build();
    }
};

TEST(SystemQueriesTest, DirectoriesEndInExactlyOneBackslash) {
    char system[MAX_PATH], windows[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(std::string(system) + "\\", SystemDirectory());
    EXPECT_EQ(std::string(windows) + "\\", WindowsDirectory());
}

TEST(SystemQueriesTest, Nt4Prefix) {
    EXPECT_TRUE(IsNt4Version());
    EXPECT_FALSE(IsNt351Build());
}

TEST_F(BuildNumberTest, RangeOfNt351Builds) {
    EXPECT_FALSE(With("943"));
    EXPECT_TRUE(With("944"));
    EXPECT_TRUE(With("1057"));
    EXPECT_FALSE(With("1058"));
    EXPECT_TRUE(With("1057 Service Pack 5"));
    EXPECT_TRUE(With("  +1000"));
    EXPECT_FALSE(With(""));
    EXPECT_FALSE(With("build 1057"));
    EXPECT_FALSE(With("-1000"));
    // 2^32 + 944 would wrap into the range; it saturates instead.
    EXPECT_FALSE(With("4294968240"));
    EXPECT_FALSE(With("99999999999999999999999999999999999999999999999999999999001000"));
}

TEST_F(BuildNumberTest, OnlyStringDataCounts) {
    const DWORD number = 1000;
    Set(REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(IsNt351Build());
    Set(REG_EXPAND_SZ, "1000", 5);
    EXPECT_FALSE(IsNt351Build());
    // String data without its closing NUL.
    Set(REG_SZ, "1000", 4);
    EXPECT_TRUE(IsNt351Build());
    RegistryKey(kCurrentVersion).DeleteValue("CurrentBuildNumber");
    EXPECT_FALSE(IsNt351Build());
}

}  // namespace
