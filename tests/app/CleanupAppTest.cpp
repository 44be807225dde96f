// The start-up decision between a silent run and the main dialog, from the command line.
#include <gtest/gtest.h>

#include "app/CleanupApp.h"

namespace {
TEST(CleanupAppTest, ArgumentTextFollowsTheProgramNameAndOnlyALeadingSOrCapitalSIsSilent) {
    const struct {
        const char* commandLine;
        const char* argumentText;
        bool silent;
    } cases[] = {
        {"", "", false},
        {"oberin.exe", "", false},
        {"oberin.exe    ", "", false},
        {"oberin.exe s", "s", true},
        {"oberin.exe \t  S", "S", true},
        {"C:\\tools\\oberin.exe Silent now", "Silent now", true},
        {"\"C:\\Program Files\\Oberin\\oberin.exe\" s", "s", true},
        {"\"C:\\Program Files\\Oberin\\oberin.exe\"s", "s", true},
        {"\"C:\\Program Files\\oberin.exe", "", false},
        {"oberin.exe /s", "/s", false},
        {"oberin.exe -s", "-s", false},
        {"oberin.exe x s", "x s", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        EXPECT_STREQ(c.argumentText, ArgumentText(c.commandLine));
        EXPECT_EQ(c.silent, IsSilentArgument(ArgumentText(c.commandLine)));
    }
}
}  // namespace
