// A run whose log could not be written or closed completely is not a success.
#include <gtest/gtest.h>

#include <cstdio>

#include "run/CleanupRun.h"
#include "support/ImportPatch.h"
#include "support/Machine.h"

namespace {
// A full disk as the log sees it: one write, or the close that flushes the rest, fails.
int __cdecl FailedWrite(const char*, FILE*) {
    return EOF;
}
ImportPatch* closePatch = nullptr;
int __cdecl FailedClose(FILE* file) {
    closePatch->Original<int(__cdecl*)(FILE*)>()(file);
    return EOF;
}

TEST(LogWriteFailureTest, AFailedWriteOrCloseFailsTheRun) {
    ASSERT_TRUE(SetCurrentDirectoryA(FreshFolder("C:\\logfailure").c_str()));
    {
        ImportPatch write("msvcrt.dll", "fputs", reinterpret_cast<void*>(FailedWrite));
        ASSERT_TRUE(write.Active());
        EXPECT_FALSE(CleanupRun().Run(true));
    }
    EXPECT_TRUE(CleanupRun().Run(true));
    ImportPatch close("msvcrt.dll", "fclose", reinterpret_cast<void*>(FailedClose));
    ASSERT_TRUE(close.Active());
    closePatch = &close;
    EXPECT_FALSE(CleanupRun().Run(true));
    SetCurrentDirectoryA("C:\\");
}
}  // namespace
