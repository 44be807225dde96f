// The management agents' edge cases: a foreign shortcut in their folder, the control panel file
// alone, and keys without it. The sample server run checks their whole removal.
#include <gtest/gtest.h>

#include "components/ManagementAgents.h"
#include "support/Machine.h"
#include "support/RestartList.h"
#include "sysaccess/FileOperations.h"

namespace {
const char kUserGroup[] =
    "C:\\windows\\Profiles\\Tester\\Start Menu\\Programs\\Velmora Products and Services";
const char kCommonGroup[] =
    "C:\\windows\\Profiles\\All Users\\Start Menu\\Programs\\Velmora Products and Services";

std::vector<std::string> Folders() {
    return {"%WINDOWS%"};
}

class ManagementAgentsTest : public testing::Test {
  protected:
    // Deletions an earlier test left on the restart list would be counted as the agents'.
    void SetUp() override { ClearPendingDeletions(); }
    void TearDown() override {
        RemoveTree("C:\\windows\\Profiles\\Tester");
        RemoveTree(kCommonGroup);
        DeleteFileA(ExpandMachinePath("%SYSTEM%\\vlmmgmt.cpl").c_str());
        DeleteFileA(ExpandMachinePath("%SYSTEM%\\vlmmgmt.hlp").c_str());
    }
};

TEST_F(ManagementAgentsTest, ForeignShortcutKeepsTheFolder) {
    MachineLayout layout("management-agents");
    layout.Add("file %USERPROGRAMS%\\Velmora Products and Services\\Velmora Remote Watch.lnk");
    ManagementAgents agents;
    EXPECT_TRUE(agents.Remove());
    const MachineState left = Snapshot({}, {kUserGroup});
    EXPECT_EQ(MachineState{"file " + std::string(kUserGroup) + "\\Velmora Remote Watch.lnk"}, left);
}

TEST_F(ManagementAgentsTest, OnlyTheControlPanelFileIsEnough) {
    MachineLayout layout("clean");
    layout.Add("file %SYSTEM%\\vlmmgmt.cpl");
    const MachineState before = Snapshot(MachineKeys(), Folders());
    ManagementAgents agents;
    ASSERT_TRUE(agents.IsInstalled());
    EXPECT_TRUE(agents.Remove());
    const MachineState after = Snapshot(MachineKeys(), Folders());
    EXPECT_EQ(std::vector<std::string>{"file " + ExpandMachinePath("%SYSTEM%\\vlmmgmt.cpl")},
              Removed(before, after));
    // The missing files and shortcuts need nothing at the restart.
    EXPECT_EQ(std::vector<std::string>{}, Added(before, after));
    EXPECT_EQ(std::vector<std::string>{}, PendingDeletions());
}

TEST_F(ManagementAgentsTest, KeysWithoutTheControlPanelFileAreNotDetected) {
    MachineLayout layout("management-agents");
    DeleteFileA(ExpandMachinePath("%SYSTEM%\\vlmmgmt.cpl").c_str());
    EXPECT_FALSE(ManagementAgents().IsInstalled());
    // Leave the fixture's keys behind for no later test.
    ManagementAgents().FinalStage();
}
}  // namespace
