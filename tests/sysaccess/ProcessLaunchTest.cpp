// Starting programs with and without waiting for them.
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "sysaccess/ProcessLaunch.h"

namespace {
// Milliseconds RunProgram took to start exitwith.exe with the arguments.
DWORD Timed(const std::string& arguments, bool wait, bool expected) {
    const DWORD start = GetTickCount();
    EXPECT_EQ(expected, RunProgram("\"" + BinDir() + "\\exitwith.exe\" " + arguments, wait))
        << arguments;
    return GetTickCount() - start;
}

// 259 is STILL_ACTIVE: a program that ends with it has still ended.
TEST(ProcessLaunchTest, WaitLastsUntilTheEndWhateverTheExitCode) {
    for (const char* arguments : {"0 1000", "1 1000", "259 1000"}) {
        const DWORD elapsed = Timed(arguments, true, true);
        EXPECT_GE(elapsed, 900u) << arguments;
        EXPECT_LT(elapsed, 5000u) << arguments;
    }
    EXPECT_LT(Timed("3 2000", false, true), 1500u);
    EXPECT_FALSE(RunProgram("C:\\nowhere\\missing.exe -v -a", true));
}
}  // namespace
