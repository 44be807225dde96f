// File and folder operations on Wine's file system: attributes, sharing and restart scheduling.
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "support/RestartList.h"
#include "sysaccess/FileOperations.h"

namespace {
class FileOperationsTest : public ::testing::Test {
  protected:
    void SetUp() override { folder_ = FreshFolder("C:\\files"); }
    void TearDown() override {
        RemoveTree(folder_);
        ClearPendingDeletions();
    }
    std::string File(const std::string& name) {
        const std::string path = folder_ + "\\" + name;
        WriteWholeFile(path, "x");
        return path;
    }
    std::string folder_;
};

TEST_F(FileOperationsTest, FileExistsTakesThePathAsGiven) {
    File("VLMDSU.EXE");
    CreateDirectoryA((folder_ + "\\vlmdsu").c_str(), nullptr);
    EXPECT_TRUE(FileExists(folder_ + "\\vlmdsu.exe"));
    EXPECT_TRUE(FileExists(folder_ + "\\vlmdsu"));
    EXPECT_FALSE(FileExists(folder_ + "\\vlmdsu\\"));
    EXPECT_TRUE(FileExists(folder_ + "\\*.EXE"));
    EXPECT_FALSE(FileExists(folder_ + "\\*.DLL"));
    EXPECT_FALSE(FileExists(folder_ + "\\missing.exe"));
}

TEST_F(FileOperationsTest, ReadOnlyFileIsDeletedAtOnce) {
    const std::string path = File("VLMLCD.HLP");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_TRUE(DeleteFileForced(path));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(IsPendingDeletion(path));
}

TEST_F(FileOperationsTest, FileInUseIsScheduledForTheRestart) {
    const std::string path = File("VLMLCD.EXE");
    HeldFile held(path);
    ASSERT_TRUE(held.IsHeld());
    EXPECT_TRUE(DeleteFileForced(path));
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(IsPendingDeletion(path));
}

TEST_F(FileOperationsTest, MissingFileCountsAsDeleted) {
    // A file that is not there counts as deleted.
    EXPECT_TRUE(DeleteFileForced(folder_ + "\\missing.exe"));
    EXPECT_TRUE(DeleteFileForced(folder_ + "\\nowhere\\missing.exe"));
}

TEST_F(FileOperationsTest, RefusedSchedulingIsTheOnlyFailure) {
    RefusedScheduling refused;
    const std::string path = File("VLMPCI.EXE");
    HeldFile held(path);
    EXPECT_FALSE(DeleteFileForced(path));
    EXPECT_TRUE(FileExists(path));
    // A file that can go now does not need the restart list.
    EXPECT_TRUE(DeleteFileForced(File("VLMPCI.HLP")));
}

TEST_F(FileOperationsTest, RemoveFolderOnlyWhenEmpty) {
    const std::string sub = folder_ + "\\vlmcau";
    CreateDirectoryA(sub.c_str(), nullptr);
    WriteWholeFile(sub + "\\foreign.txt", "x");
    EXPECT_FALSE(RemoveFolder(sub));
    EXPECT_TRUE(FileExists(sub + "\\foreign.txt"));
    DeleteFileA((sub + "\\foreign.txt").c_str());
    EXPECT_TRUE(RemoveFolder(sub));
    EXPECT_FALSE(FileExists(sub));
}

TEST_F(FileOperationsTest, DeleteShortcutDeletesOnceWithoutEscalating) {
    const std::string link = File("Velmora Net.lnk");
    EXPECT_TRUE(DeleteShortcut(link));
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(DeleteShortcut(link));

    const std::string readOnly = File("Velmora Network.lnk");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(DeleteShortcut(readOnly));
    EXPECT_TRUE(FileExists(readOnly));
    EXPECT_FALSE(IsPendingDeletion(readOnly));
}
}  // namespace
