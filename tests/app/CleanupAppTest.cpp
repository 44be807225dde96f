// The start-up decision between a silent run and the main dialog.
#include <gtest/gtest.h>

#include "app/CleanupApp.h"
#include <windows.h>

namespace {
TEST(ArgumentTextTest, ProgramNameAndBlanksAreSkipped) {
    EXPECT_STREQ("", ArgumentText(""));
    EXPECT_STREQ("", ArgumentText("oberin.exe"));
    EXPECT_STREQ("", ArgumentText("oberin.exe    "));
    EXPECT_STREQ("s", ArgumentText("oberin.exe s"));
    EXPECT_STREQ("s", ArgumentText("oberin.exe \t  s"));
    EXPECT_STREQ("Silent now", ArgumentText("C:\\tools\\oberin.exe Silent now"));
    EXPECT_STREQ("s", ArgumentText("\"C:\\Program Files\\Oberin\\oberin.exe\" s"));
    EXPECT_STREQ("s", ArgumentText("\"C:\\Program Files\\Oberin\\oberin.exe\"s"));
    EXPECT_STREQ("", ArgumentText("\"C:\\Program Files\\oberin.exe"));
}

TEST(ArgumentTextTest, OnlyALeadingSOrCapitalSIsSilent) {
    EXPECT_TRUE(IsSilentArgument("s"));
    EXPECT_TRUE(IsSilentArgument("S"));
    EXPECT_TRUE(IsSilentArgument("Silent"));
    EXPECT_TRUE(IsSilentArgument("sure"));
    EXPECT_FALSE(IsSilentArgument(""));
    EXPECT_FALSE(IsSilentArgument("/s"));
    EXPECT_FALSE(IsSilentArgument("-s"));
    EXPECT_FALSE(IsSilentArgument("x s"));
}

TEST(CleanupAppTest, NameAndHelpFileComeFromTheProgramPath) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ("app_tests", CleanupApp::Name());
    std::string help(path);
    EXPECT_EQ(help.substr(0, help.size() - 4) + ".HLP", CleanupApp::HelpFile());
}

}  // namespace
