// Starting programs with and without waiting for them.
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "sysaccess/ProcessLaunch.h"

// The test uninstaller ending with a code after some milliseconds, the last one not waited for. 259
// is STILL_ACTIVE: a program that ends with it has still ended.
TEST(ProcessLaunchTest, WaitLastsUntilTheEndWhateverTheExitCode) {
    for (const char* arguments :
         {"0 /sleep 1000", "1 /sleep 1000", "259 /sleep 1000", "3 /sleep 2000"}) {
        const bool wait = arguments[0] != '3';
        const DWORD start = GetTickCount();
        EXPECT_TRUE(
            RunProgram("\"" + BinDir() + "\\testuninstaller.exe\" /exit " + arguments, wait));
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_TRUE(wait ? elapsed >= 900 && elapsed < 5000 : elapsed < 1500)
            << arguments << ": " << elapsed;
    }
    EXPECT_FALSE(RunProgram("C:\\nowhere\\missing.exe -v -a", true));
}
