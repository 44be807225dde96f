// The control-panel tools removed from Wine's machine, alone and one after another as the run
// visits them, with the module, launcher key and shortcut that several of them share.
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
const char kTools[] = "%COMMONPROGRAMS%\\Velmora System Tools\\";
const char kLauncher[] = "SOFTWARE\\Velmora\\CPL Launcher\\";

struct Tool {
    const char* name;
    std::function<std::unique_ptr<Component>()> make;
    const char* displayName;
    std::string executable;
    const char* errorLine;  // null: the executable decides nothing
    std::string launcherKey;
    // What the tool removes when the run reaches it on the full machine, after the tools
    // before it.
    std::vector<std::string> places;
};

template <class T>
std::unique_ptr<Component> Make() {
    return std::make_unique<T>();
}

std::string System(const char* name) {
    return std::string("%SYSTEM%\\") + name;
}
std::string Link(const char* name) {
    return kTools + std::string(name) + ".lnk";
}
std::string Launcher(const char* name) {
    return std::string("HKLM\\") + kLauncher + name;
}

// The seven tools of the shared recipe, in the order of the run.
const std::vector<Tool>& RecipeTools() {
    static const std::vector<Tool> tools = {
        {"FrontPanelDisplayUtility",
         Make<FrontPanelDisplayUtility>,
         "Velmora Front Panel Status Display Utility\n",
         System("VLMLCD.EXE"),
         "Error:           did not remove vlmlcd.exe\n",
         std::string(kLauncher) + "VLMLCD",
         {System("VLMLCD.EXE"), System("VLMLCD.HLP"), System("VLMLCD.CNT"), System("VLMLSW.CPL"),
          Link("Velmora Front Panel Status Display"),
          Link("Velmora Front Panel Status Display Utility"), Launcher("VLMLCD")}},
        {"EventJournalViewerUtility",
         Make<EventJournalViewerUtility>,
         "Velmora Event Journal Viewer Utility\n",
         System("VLMEJVW.EXE"),
         "Error:           did not remove vlmejvw.exe\n",
         std::string(kLauncher) + "VLMEJVW",
         {System("VLMEJVW.EXE"), System("VLMEJVW.HLP"), System("VLMEJVW.CNT"),
          Link("Velmora Event Journal Viewer"), Launcher("VLMEJVW")}},
        {"OnlineStorageFailoverUtility",
         Make<OnlineStorageFailoverUtility>,
         "Velmora Online Storage Failover Assistant\n",
         System("FOAMON.EXE"),
         "Error:           did not remove foamon.exe\n",
         std::string(kLauncher) + "VLMSFAD",
         {System("FOAMON.EXE"), System("FOADMIN.CPL"), System("FOADMIN.HLP"), System("FOAMON.HLP"),
          Link("Velmora Online Storage Failover Assistant Utility"),
          Link("Velmora On-line Standby Server Option"), Launcher("VLMSFAD")}},
        {"PciLiveSwapUtility",
         Make<PciLiveSwapUtility>,
         "Velmora PCI Live Swap Utility\n",
         System("VLMPCI.EXE"),
         "Error:           did not remove vlmpci.exe\n",
         std::string(kLauncher) + "VLMPCI",
         {System("VLMPCI.EXE"), System("VLMPCI.CNT"), System("VLMPCI.HLP"),
          Link("Velmora PCI Live Swap"), Link("Velmora PCI Live Swap Utility"),
          Launcher("VLMPCI")}},
        {"MirrorPairUtility",
         Make<MirrorPairUtility>,
         "Velmora Mirror Pair Utility\n",
         System("VLMSFAD.EXE"),
         "Error:           did not remove vlmsfad.exe\n",
         std::string(kLauncher) + "VLMSFAD",
         // The shared launcher key and shortcut went with the online storage failover tool.
         {System("VLMSFAD.EXE"), System("VLMSFAD.HLP"), System("VLMSFAD.CNT"),
          Link("Velmora Online Storage Failover")}},
        {"ShutdownSchedulerUtility",
         Make<ShutdownSchedulerUtility>,
         "Velmora Shutdown Scheduler\n",
         System("VLMSDW.EXE"),
         "Error:           did not remove vlmsdw.exe\n",
         std::string(kLauncher) + "VLMSDW",
         {System("VLMSDW.EXE"), System("VLMSDW.HLP"), System("VLMSDW.CNT"),
          Link("Velmora Shutdown Switch Utility"), Link("Velmora Shutdown Scheduler"),
          Launcher("VLMSDW")}},
        {"PowerFeedMonitorUtility",
         Make<PowerFeedMonitorUtility>,
         "Velmora Power Feed Monitor Utility\n",
         System("VLMPFM.EXE"),
         nullptr,
         std::string(kLauncher) + "VLMPFM",
         {System("VLMPFM.EXE"), System("VLMPFM.HLP"), System("VLMPFM.CNT"),
          Link("Velmora Power Feed Monitor"), Launcher("VLMPFM")}},
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

TEST_F(ControlPanelToolsTest, OneAfterAnotherEachTakesItsOwnAndTheSharedOnesOnce) {
    MachineLayout layout(kMachine);
    for (const Tool& tool : RecipeTools()) {
        const MachineState before = CatalogSnapshot();
        EXPECT_EQ(Block(tool.displayName, kRemoved),
                  ReportAndLog(*tool.make(), tool.displayName, ProductKind::Utility))
            << tool.name;
        SCOPED_TRACE(tool.name);
        ExpectRemovedExactly(Removed(before, CatalogSnapshot()), tool.places);
    }
    const MachineState before = CatalogSnapshot();
    EXPECT_EQ(Block(kClusterAudit, kRemoved),
              ReportAndLog(*Make<ClusterAuditUtility>(), kClusterAudit, ProductKind::Utility));
    ExpectRemovedExactly(Removed(before, CatalogSnapshot()),
                         {"%SYSTEM%\\vlmcau", Link("Velmora Cluster Audit"), Launcher("VLMCAUTL")});
}

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

TEST_F(ControlPanelToolsTest, WithoutItsDetectionFileAToolIsLeftAlone) {
    for (const Tool& tool : RecipeTools()) {
        MachineLayout layout(kMachine);
        DeleteFileA(ExpandMachinePath(tool.executable).c_str());
        const MachineState before = CatalogSnapshot();
        EXPECT_FALSE(tool.make()->IsInstalled()) << tool.name;
        EXPECT_TRUE(Removed(before, CatalogSnapshot()).empty()) << tool.name;
        EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, tool.launcherKey)) << tool.name;
    }
}

TEST_F(ControlPanelToolsTest, ExecutableInUseIsLeftForTheRestartAndTheKeyGoes) {
    for (const Tool& tool : RecipeTools()) {
        MachineLayout layout(kMachine);
        HeldFile held(ExpandMachinePath(tool.executable));
        ASSERT_TRUE(held.IsHeld());
        std::unique_ptr<Component> product = tool.make();
        bool removed = false;
        EXPECT_EQ("", RemoveAndLog(*product, &removed)) << tool.name;
        EXPECT_TRUE(removed) << tool.name;
        EXPECT_TRUE(IsPendingDeletion(tool.executable)) << tool.name;
        EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, tool.launcherKey)) << tool.name;
        // Until the restart a second run finds it again and does the same.
        EXPECT_TRUE(product->IsInstalled()) << tool.name;
        EXPECT_EQ("", RemoveAndLog(*tool.make(), &removed)) << tool.name;
        EXPECT_TRUE(removed) << tool.name;
        ClearPendingDeletions();
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
    EXPECT_TRUE(FileExistsAt(Link("Velmora Cluster Audit")));
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
