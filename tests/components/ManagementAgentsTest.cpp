// The management agents go with their files, shortcuts, services, SNMP registrations, PATROL
// agent and environment values; everything beside them stays.
#include <gtest/gtest.h>

#include "components/ManagementAgents.h"
#include "support/SnapshotPlaces.h"
#include "run/SystemQueries.h"
#include "support/Machine.h"
#include "support/RestartList.h"
#include "sysaccess/FileOperations.h"

namespace {
const char kUserGroup[] =
    "C:\\windows\\Profiles\\Tester\\Start Menu\\Programs\\Velmora Products and Services";
const char kCommonGroup[] =
    "C:\\windows\\Profiles\\All Users\\Start Menu\\Programs\\Velmora Products and Services";
const char kServices[] = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";
const char kExtensionAgents[] =
    "HKLM\\SYSTEM\\CurrentControlSet\\Services\\SNMP\\Parameters\\ExtensionAgents";
const char kEnvironment[] =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\\\\";
const char kUninstall[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::vector<std::string> Folders() {
    return {"%WINDOWS%"};
}

// Everything the agents own in the fixture.
std::vector<std::string> AgentPlaces() {
    std::vector<std::string> places = {ExpandMachinePath("%SYSTEM%\\vlmmgmt.cpl"), kUserGroup};
    for (const char* service : {"VLMMGMT", "VlMgHost", "VlMgServ", "VlMgStor", "VLMNicMgmt",
                                "VLMWebMgmt", "VLMSDM", "VNMPROT", "patfvlm", "patrolagent"})
        places.push_back(std::string(kServices) + service);
    places.push_back("HKLM\\SOFTWARE\\Velmora\\VLMInstall");
    for (const char* agent : {"VLMNICS", "VLMNISNMP", "VLMSERVSNMP", "VLMSNMP", "VLMSTORSNMP",
                              "VLMHOSTSNMP", "VLMMIB1K"}) {
        places.push_back(std::string(kExtensionAgents) + "\\\\" + agent);
        places.push_back(std::string(kExtensionAgents) + "\\" + agent);
    }
    places.push_back("HKLM\\SOFTWARE\\BMC Software\\PATROL for Lumenar Manager");
    places.push_back(std::string(kUninstall) + "PATROL for Lumenar Manager");
    for (const char* variable :
         {"PATROL_ADMIN", "PATROL_HOME", "PATROL_TEMP", "PFC_HOME", "TMP_PATROL"})
        places.push_back(kEnvironment + std::string(variable));
    places.push_back(std::string(kUninstall) + "Velmora Management Agents");
    return places;
}

class ManagementAgentsTest : public testing::Test {
  protected:
    void TearDown() override {
        RemoveTree("C:\\windows\\Profiles\\Tester");
        RemoveTree(kCommonGroup);
        DeleteFileA(ExpandMachinePath("%SYSTEM%\\vlmmgmt.cpl").c_str());
        DeleteFileA(ExpandMachinePath("%SYSTEM%\\vlmmgmt.hlp").c_str());
    }
};

TEST_F(ManagementAgentsTest, RemovesExactlyTheAgentsItems) {
    MachineLayout layout("management-agents");
    const MachineState before = Snapshot(MachineKeys(), Folders());
    ASSERT_EQ(std::vector<std::string>{}, PlacesMissing(before, AgentPlaces()));
    ManagementAgents agents;
    ASSERT_TRUE(agents.IsInstalled());
    EXPECT_TRUE(agents.Remove());
    const MachineState after = Snapshot(MachineKeys(), Folders());
    // The read-only shortcut went too; the all-users readme of the English system, the other
    // extension agents, the other environment values and the console's entries stay.
    EXPECT_EQ(LinesAt(before, AgentPlaces()), Removed(before, after));
    EXPECT_EQ(std::vector<std::string>{}, Added(before, after));
    EXPECT_TRUE(FileExists(std::string(kCommonGroup) + "\\Velmora Management Agents Readme.lnk"));
    EXPECT_FALSE(agents.IsInstalled());
}

TEST_F(ManagementAgentsTest, ForeignShortcutKeepsTheFolder) {
    MachineLayout layout("management-agents");
    layout.Add("file %USERPROGRAMS%\\Velmora Products and Services\\Velmora Remote Watch.lnk");
    ManagementAgents agents;
    EXPECT_TRUE(agents.Remove());
    const MachineState left = Snapshot({}, {kUserGroup});
    EXPECT_EQ(MachineState{"file " + std::string(kUserGroup) + "\\Velmora Remote Watch.lnk"}, left);
}

TEST_F(ManagementAgentsTest, HeldShortcutIsLeftForTheRestart) {
    MachineLayout layout("management-agents");
    const std::string held = std::string(kUserGroup) + "\\Velmora Event Notifier Help.lnk";
    {
        HeldFile open(held);
        ASSERT_TRUE(open.IsHeld());
        EXPECT_TRUE(ManagementAgents().Remove());
    }
    EXPECT_TRUE(IsPendingDeletion(held));
    ClearPendingDeletions();
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
    // The missing shortcuts only went onto the restart list, which the system accepts for
    // files that are not there.
    const std::vector<std::string> added = Added(before, after);
    ASSERT_EQ(1u, added.size());
    EXPECT_EQ(0u, added[0].find("value HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session "
                                "Manager\\\\PendingFileRenameOperations="));
    EXPECT_EQ(7u, PendingDeletions().size());
    ClearPendingDeletions();
}

TEST_F(ManagementAgentsTest, KeysWithoutTheControlPanelFileAreNotDetected) {
    MachineLayout layout("management-agents");
    DeleteFileA(ExpandMachinePath("%SYSTEM%\\vlmmgmt.cpl").c_str());
    EXPECT_FALSE(ManagementAgents().IsInstalled());
    // Leave the fixture's keys behind for no later test.
    ManagementAgents().FinalStage();
}
}  // namespace
