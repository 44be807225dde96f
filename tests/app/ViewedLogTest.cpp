// View Log shows the log the last run of the process wrote, also when that run had to leave a
// stale log of the current directory behind and write to the system directory.
#include <gtest/gtest.h>

#include "app/LogViewer.h"
#include "run/CleanupRun.h"
#include "run/LogFile.h"
#include "run/SystemQueries.h"
#include "support/Machine.h"

TEST(ViewedLogTest, TheLogOfTheLastRunElseTheCurrentElseTheSystemDirectorys) {
    const std::string work = FreshFolder("C:\\viewedlog");
    const std::string here = work + "\\oberin.log";
    const std::string system = SystemDirectory() + "oberin.log";
    ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));

    // No run has written a log (the last one could not open its file).
    ASSERT_FALSE(TheLogFile().Open(work + "\\nowhere\\oberin.log"));
    ASSERT_TRUE(WriteWholeFile(here, "stale"));
    EXPECT_EQ(here, ViewedLogPath());
    DeleteFileA(here.c_str());
    EXPECT_EQ(system, ViewedLogPath());

    // The current directory's log cannot be rewritten: the run writes the system directory's.
    ASSERT_TRUE(WriteWholeFile(here, "stale"));
    const HANDLE held = CreateFileA(here.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_TRUE(CleanupRun().Run(true));
    CloseHandle(held);
    EXPECT_EQ(system, ViewedLogPath());
    EXPECT_TRUE(CleanupRun().Run(true));
    EXPECT_EQ(here, ViewedLogPath());

    SetCurrentDirectoryA("C:\\");
    DeleteFileA(system.c_str());
    DeleteFileA(here.c_str());
    RemoveDirectoryA(work.c_str());
}
