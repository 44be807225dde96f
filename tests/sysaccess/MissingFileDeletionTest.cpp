// A file that is not there is not put on the restart list, where it would take a later file of
// its name with it; a file that is there and in use still is.
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "support/RestartList.h"
#include "sysaccess/FileOperations.h"

TEST(MissingFileDeletionTest, OnlyAFileThatIsThereGoesOnTheRestartList) {
    const std::string folder = FreshFolder("C:\\missingfiles");
    const std::vector<std::string> before = PendingDeletions();
    EXPECT_TRUE(DeleteFileForced(folder + "\\missing.exe"));
    EXPECT_TRUE(DeleteFileForced(folder + "\\nowhere\\missing.exe"));
    EXPECT_EQ(before, PendingDeletions());

    const std::string inUse = folder + "\\inuse.exe";
    ASSERT_TRUE(WriteWholeFile(inUse, "x"));
    const HANDLE held = CreateFileA(inUse.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_TRUE(DeleteFileForced(inUse));
    CloseHandle(held);
    std::vector<std::string> scheduled = before;
    scheduled.push_back(inUse);
    EXPECT_EQ(scheduled, PendingDeletions());
    ClearPendingDeletions();
}
