// The control-panel tools alone with the module several of them share, and the ways their
// removal can stay incomplete. The whole sample server run covers them one after another.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "components/CatalogCheck.h"
#include "components/ClusterAuditUtility.h"
#include "components/EventJournalViewerUtility.h"
#include "components/FrontPanelDisplayUtility.h"
#include "components/MirrorPairUtility.h"
#include "components/OnlineStorageFailoverUtility.h"
#include "components/PciLiveSwapUtility.h"
#include "components/PowerFeedMonitorUtility.h"
#include "components/ShutdownSchedulerUtility.h"
#include "run/LogFile.h"

namespace {
const char kMachine[] = "control-panel-tools";
const char kLauncher[] = "SOFTWARE\\Velmora\\CPL Launcher\\";

struct Tool {
    const char* name;
    std::function<std::unique_ptr<Component>()> make;
    const char* displayName;
    std::string executable;
    const char* errorLine;  // null: the executable decides nothing
    std::string launcherKey;
};

template <class T>
std::unique_ptr<Component> Make() {
    return std::make_unique<T>();
}

// The seven tools of the shared recipe, in the order of the run.
const std::vector<Tool>& RecipeTools() {
    static const std::vector<Tool> tools = {
        {"FrontPanelDisplayUtility", Make<FrontPanelDisplayUtility>,
         "Velmora Front Panel Status Display Utility\n", "%SYSTEM%\\VLMLCD.EXE",
         "Error:           did not remove vlmlcd.exe\n", std::string(kLauncher) + "VLMLCD"},
        {"EventJournalViewerUtility", Make<EventJournalViewerUtility>,
         "Velmora Event Journal Viewer Utility\n", "%SYSTEM%\\VLMEJVW.EXE",
         "Error:           did not remove vlmejvw.exe\n", std::string(kLauncher) + "VLMEJVW"},
        {"OnlineStorageFailoverUtility", Make<OnlineStorageFailoverUtility>,
         "Velmora Online Storage Failover Assistant\n", "%SYSTEM%\\FOAMON.EXE",
         "Error:           did not remove foamon.exe\n", std::string(kLauncher) + "VLMSFAD"},
        {"PciLiveSwapUtility", Make<PciLiveSwapUtility>, "Velmora PCI Live Swap Utility\n",
         "%SYSTEM%\\VLMPCI.EXE", "Error:           did not remove vlmpci.exe\n",
         std::string(kLauncher) + "VLMPCI"},
        {"MirrorPairUtility", Make<MirrorPairUtility>, "Velmora Mirror Pair Utility\n",
         "%SYSTEM%\\VLMSFAD.EXE", "Error:           did not remove vlmsfad.exe\n",
         std::string(kLauncher) + "VLMSFAD"},
        {"ShutdownSchedulerUtility", Make<ShutdownSchedulerUtility>, "Velmora Shutdown Scheduler\n",
         "%SYSTEM%\\VLMSDW.EXE", "Error:           did not remove vlmsdw.exe\n",
         std::string(kLauncher) + "VLMSDW"},
        {"PowerFeedMonitorUtility", Make<PowerFeedMonitorUtility>,
         "Velmora Power Feed Monitor Utility\n", "%SYSTEM%\\VLMPFM.EXE", nullptr,
         std::string(kLauncher) + "VLMPFM"},
    };
    return tools;
}

const char kClusterAudit[] = "Velmora Cluster Audit Utility (installed from SWK 2.x)\n";

std::string Block(const char* displayName, const std::string& removal) {
    return WithCrLf(std::string("Product Name:    ") + displayName +
                    "Action:          This utility has been detected.\n"
                    "                 Attempting to remove...\n" +
                    removal + LogSeparator);
}

const char kRemoved[] = "                 This utility has been removed.\nWarning:         N/A\n";
const char kNotRemoved[] = "Warning:         This utility was not completely removed.\n";

class ControlPanelToolsTest : public ::testing::Test {
  protected:
    void TearDown() override { UndoLayout(kMachine); }
};

TEST_F(ControlPanelToolsTest, EachToolAloneTakesTheSharedModule) {
    for (const Tool& tool : RecipeTools()) {
        if (tool.executable.find("FOAMON") != std::string::npos) continue;  // not a user of it
        MachineLayout layout("clean");
        layout.Add("file " + tool.executable);
        layout.Add("file %SYSTEM%\\VLMLSW.CPL");
        bool removed = false;
        EXPECT_EQ("", RemoveAndLog(*tool.make(), &removed)) << tool.name;
        EXPECT_TRUE(removed) << tool.name;
        EXPECT_FALSE(FileExistsAt("%SYSTEM%\\VLMLSW.CPL")) << tool.name;
        EXPECT_FALSE(FileExistsAt(tool.executable)) << tool.name;
    }
}

TEST_F(ControlPanelToolsTest, RefusedSchedulingIsReportedAndKeepsTheLauncherKey) {
    for (const Tool& tool : RecipeTools()) {
        MachineLayout layout(kMachine);
        RefusedScheduling refused;
        HeldFile held(ExpandMachinePath(tool.executable));
        const std::string log = ReportAndLog(*tool.make(), tool.displayName, ProductKind::Utility);
        if (tool.errorLine) {
            EXPECT_EQ(Block(tool.displayName, std::string(tool.errorLine) + kNotRemoved), log)
                << tool.name;
            EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, tool.launcherKey)) << tool.name;
        } else {
            // The power feed monitor's executable decides nothing: no line, and the key goes.
            EXPECT_EQ(Block(tool.displayName, kRemoved), log) << tool.name;
            EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, tool.launcherKey)) << tool.name;
        }
        EXPECT_TRUE(FileExistsAt(tool.executable)) << tool.name;
    }
}

TEST_F(ControlPanelToolsTest, ClusterAuditFolderWithAForeignFileIsIncomplete) {
    MachineLayout layout(kMachine);
    layout.Add("file %SYSTEM%\\vlmcau\\NODES.TXT");
    const MachineState before = CatalogSnapshot();
    EXPECT_EQ(Block(kClusterAudit, kNotRemoved),
              ReportAndLog(*Make<ClusterAuditUtility>(), kClusterAudit, ProductKind::Utility));
    ExpectRemovedExactly(
        Removed(before, CatalogSnapshot()),
        {"%SYSTEM%\\vlmcau\\VCAU.EXE", "%SYSTEM%\\vlmcau\\vcau.dll", "%SYSTEM%\\vlmcau\\vcau.hlp",
         "%SYSTEM%\\vlmcau\\vcausvc.exe", "%SYSTEM%\\vlmcau\\vlutil.dll"});
    EXPECT_TRUE(FileExistsAt("%COMMONPROGRAMS%\\Velmora System Tools\\Velmora Cluster Audit.lnk"));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, std::string(kLauncher) + "VLMCAUTL"));
    DeleteFileA(ExpandMachinePath("%SYSTEM%\\vlmcau\\NODES.TXT").c_str());
}

TEST_F(ControlPanelToolsTest, ClusterAuditExecutableInUseIsIncompleteWithoutErrorLine) {
    MachineLayout layout(kMachine);
    HeldFile held(ExpandMachinePath("%SYSTEM%\\vlmcau\\VCAU.EXE"));
    EXPECT_EQ(Block(kClusterAudit, kNotRemoved),
              ReportAndLog(*Make<ClusterAuditUtility>(), kClusterAudit, ProductKind::Utility));
    EXPECT_TRUE(IsPendingDeletion("%SYSTEM%\\vlmcau\\vcau.exe"));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, std::string(kLauncher) + "VLMCAUTL"));
}

TEST_F(ControlPanelToolsTest, ClusterAuditRefusedSchedulingWritesItsLine) {
    MachineLayout layout(kMachine);
    RefusedScheduling refused;
    HeldFile held(ExpandMachinePath("%SYSTEM%\\vlmcau\\VCAU.EXE"));
    EXPECT_EQ(Block(kClusterAudit,
                    std::string("Error:           did not remove vcau.exe\n") + kNotRemoved),
              ReportAndLog(*Make<ClusterAuditUtility>(), kClusterAudit, ProductKind::Utility));
}
}  // namespace
