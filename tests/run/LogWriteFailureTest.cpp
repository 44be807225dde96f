// A run whose log could not be written or closed completely is not a success.
#include <gtest/gtest.h>

#include <cstdio>

#include "run/CleanupRun.h"
#include "support/ImportPatch.h"
#include "support/Machine.h"

// A full disk as the log sees it: a write, or the close that flushes the rest, is done but
// fails. Both are __cdecl, so fclose is called through with an argument it ignores.
static ImportPatch* failing = nullptr;
static int __cdecl Failed(void* first, void* second) {
    failing->Original<int(__cdecl*)(void*, void*)>()(first, second);
    return EOF;
}

TEST(LogWriteFailureTest, AFailedWriteOrCloseFailsTheRun) {
    ASSERT_TRUE(SetCurrentDirectoryA(FreshFolder("C:\\logfailure").c_str()));
    EXPECT_TRUE(CleanupRun().Run(true));
    for (const char* function : {"fputs", "fclose"}) {
        ImportPatch patch("msvcrt.dll", function, reinterpret_cast<void*>(Failed));
        failing = &patch;
        ASSERT_TRUE(patch.Active()) << function;
        EXPECT_FALSE(CleanupRun().Run(true)) << function;
    }
    SetCurrentDirectoryA("C:\\");
}
