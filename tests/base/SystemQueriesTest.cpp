// The NT 3.51 test on the registry's build number (buildnumbers.txt); the rest shows in machines.
#include <gtest/gtest.h>

#include "base/SystemQueries.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"

TEST(SystemQueriesTest, Nt351BuildsFromTheRegistrysBuildNumber) {
    const char kKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    for (const auto& row : CaseTable("base\\buildnumbers.txt")) {
        WriteValue(HKEY_LOCAL_MACHINE, kKey, "CurrentBuildNumber", std::stoul(row[0]),
                   row[1].data(), DWORD(row[1].size()));
        EXPECT_EQ(row[2] == "yes", IsNt351Build()) << row[0] << ": " << row[1];
    }
    WriteString(HKEY_LOCAL_MACHINE, kKey, "CurrentBuildNumber", "1381");
}
