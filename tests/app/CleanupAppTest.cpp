// The start-up decision between a silent run and the main dialog (the cases in arguments.txt).
#include <gtest/gtest.h>

#include "app/CleanupApp.h"
#include "support/Machine.h"

TEST(CleanupAppTest, ArgumentTextFollowsTheProgramNameAndOnlyALeadingSOrCapitalSIsSilent) {
    for (const auto& row : CaseTable("app\\arguments.txt")) {
        EXPECT_EQ(row[1], ArgumentText(row[0].c_str())) << row[0];
        EXPECT_EQ(row[2] == "silent", IsSilentArgument(ArgumentText(row[0].c_str()))) << row[0];
    }
}
