// The NT 3.51 test on the build number of the prefix's registry (the directories and the
// version gate show in every machine case).
#include <gtest/gtest.h>

#include "run/SystemQueries.h"
#include "support/RegistryEdit.h"

namespace {
// CurrentBuildNumber as stored data, and whether it names an NT 3.51 build.
bool Nt351With(DWORD type, const std::string& data) {
    const char kKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    WriteValue(HKEY_LOCAL_MACHINE, kKey, "CurrentBuildNumber", type, data.data(),
               DWORD(data.size()));
    const bool nt351 = IsNt351Build();
    WriteString(HKEY_LOCAL_MACHINE, kKey, "CurrentBuildNumber", "1381");
    return nt351;
}

TEST(SystemQueriesTest, Nt351BuildsFromTheRegistrysBuildNumber) {
    // 4294968240 is 2^32 + 944: it saturates rather than wraps into the range.
    for (const char* text : {"944", "1057", "1057 Service Pack 5", "  +1000"})
        EXPECT_TRUE(Nt351With(REG_SZ, std::string(text) + '\0')) << text;
    for (const char* text : {"943", "1058", "", "build 1057", "-1000", "4294968240",
                             "99999999999999999999999999999999999999999999999999999999001000"})
        EXPECT_FALSE(Nt351With(REG_SZ, std::string(text) + '\0')) << text;
    EXPECT_TRUE(Nt351With(REG_SZ, "1000"));  // without its closing NUL
    EXPECT_FALSE(Nt351With(REG_EXPAND_SZ, std::string("1000", 5)));
    EXPECT_FALSE(Nt351With(REG_DWORD, std::string("\xE8\3\0\0", 4)));
}
}  // namespace
