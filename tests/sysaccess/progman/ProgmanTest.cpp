// The Program Manager client against the "PROGMAN" DDE server of Wine's desktop: groups and
// items appear and disappear as Start-menu folders and shortcuts.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "run/SystemQueries.h"
#include "support/Machine.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgmanClient.h"
#include "sysaccess/ProgramsFolders.h"

namespace {
const char kGroup[] = "Oberin Tools";

class ProgmanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The server lives in the desktop process, which starts with the desktop window.
        ASSERT_TRUE(GetDesktopWindow());
        EXPECT_TRUE(ProgmanConnect());
    }
    void TearDown() override {
        ProgmanDisconnect();
        RemoveTree(user_ + "\\" + kGroup);
        RemoveTree(common_ + "\\" + kGroup);
    }
    bool AddItem(const std::string& name) {
        return ProgmanExecute("[AddItem(" + WindowsDirectory() + "notepad.exe," + name + ")]");
    }
    std::string InUser(const std::string& rest) const { return user_ + "\\" + kGroup + rest; }

    const std::string user_ = UserProgramsFolder();
    const std::string common_ = CommonProgramsFolder();
};

TEST_F(ProgmanTest, GroupsAndItemsAreFoldersAndShortcuts) {
    EXPECT_TRUE(ProgmanCreateGroup(kGroup, false));
    EXPECT_TRUE(FileExists(InUser("")));
    EXPECT_TRUE(AddItem("Editor"));
    EXPECT_TRUE(AddItem("Second Editor"));
    EXPECT_TRUE(FileExists(InUser("\\Editor.lnk")));

    ProgmanDeleteItem(kGroup, "Editor", false);
    EXPECT_FALSE(FileExists(InUser("\\Editor.lnk")));
    EXPECT_TRUE(FileExists(InUser("\\Second Editor.lnk")));

    ProgmanDeleteGroup(kGroup);
    EXPECT_FALSE(FileExists(InUser("")));
}

TEST_F(ProgmanTest, DeletingAnItemOfAMissingGroupLeavesTheGroupEmpty) {
    ProgmanDeleteItem(kGroup, "Editor", false);
    EXPECT_TRUE(FileExists(InUser("")));
    EXPECT_FALSE(FileExists(InUser("\\*.lnk")));
    EXPECT_FALSE(ProgmanExecute("[DeleteItem(Editor)]"));  // the server refuses a missing item
    ProgmanDeleteGroup(kGroup);
    EXPECT_FALSE(FileExists(InUser("")));
    EXPECT_FALSE(ProgmanExecute(std::string("[DeleteGroup(") + kGroup + ")]"));
}

TEST_F(ProgmanTest, CommonGroupIsMadeInOneProgramsFolder) {
    EXPECT_TRUE(ProgmanCreateGroup(kGroup, true));
    EXPECT_TRUE(AddItem("Editor"));
    const bool common = FileExists(common_ + "\\" + kGroup + "\\Editor.lnk");
    const bool personal = FileExists(InUser("\\Editor.lnk"));
    EXPECT_NE(common, personal);
    if (personal) std::cout << "Wine's Program Manager server makes common groups personal\n";
    ProgmanDeleteItem(kGroup, "Editor", true);
    EXPECT_FALSE(FileExists(common_ + "\\" + kGroup + "\\Editor.lnk"));
    EXPECT_FALSE(FileExists(InUser("\\Editor.lnk")));
}

TEST_F(ProgmanTest, UnknownCommandsAreRefused) {
    EXPECT_FALSE(ProgmanExecute("[NoSuchCommand(x)]"));
    EXPECT_FALSE(ProgmanExecute("CreateGroup"));
    EXPECT_TRUE(ProgmanCreateGroup(kGroup, false));  // the conversation goes on
}

TEST_F(ProgmanTest, EachStageConnectsAfresh) {
    ProgmanDisconnect();
    EXPECT_FALSE(ProgmanCreateGroup(kGroup, false));
    EXPECT_FALSE(FileExists(InUser("")));
    for (int stage = 0; stage < 3; ++stage) {
        EXPECT_TRUE(ProgmanConnect());
        EXPECT_TRUE(ProgmanCreateGroup(kGroup, false)) << stage;
        ProgmanDeleteGroup(kGroup);
        EXPECT_FALSE(FileExists(InUser(""))) << stage;
        ProgmanDisconnect();
    }
    EXPECT_TRUE(ProgmanConnect());
}
}  // namespace
