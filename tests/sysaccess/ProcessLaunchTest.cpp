// Starting programs with and without waiting for them.
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "sysaccess/ProcessLaunch.h"

namespace {
std::string ExitWith(const std::string& arguments) {
    return "\"" + BinDir() + "\\exitwith.exe\" " + arguments;
}

TEST(ProcessLaunchTest, ProgramThatCannotStartGivesFalse) {
    EXPECT_FALSE(RunProgram("C:\\nowhere\\missing.exe -v -a", true));
    EXPECT_FALSE(RunProgram("C:\\nowhere\\missing.exe", false));
}

TEST(ProcessLaunchTest, WithoutWaitTrueOnceStarted) {
    const DWORD start = GetTickCount();
    EXPECT_TRUE(RunProgram(ExitWith("3 2000"), false));
    EXPECT_LT(GetTickCount() - start, 1500u);
}

TEST(ProcessLaunchTest, WaitSeesTheEndWhateverTheExitCode) {
    EXPECT_TRUE(RunProgram(ExitWith("0"), true));
    EXPECT_TRUE(RunProgram(ExitWith("1"), true));
    // 259 is STILL_ACTIVE: a program that ends with it has still ended.
    const DWORD start = GetTickCount();
    EXPECT_TRUE(RunProgram(ExitWith("259"), true));
    EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST(ProcessLaunchTest, WaitLastsUntilTheProgramEnds) {
    const std::string marker = FreshFolder("C:\\launch") + "\\ended.txt";
    const DWORD start = GetTickCount();
    EXPECT_TRUE(RunProgram("cmd.exe /c ping -n 2 127.0.0.1 >nul & echo done>" + marker, true));
    EXPECT_GE(GetTickCount() - start, 900u);
    EXPECT_EQ("done\r\n", ReadWholeFile(marker));
}
}  // namespace
