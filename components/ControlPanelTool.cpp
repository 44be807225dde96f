#include "components/ControlPanelTool.h"

#include <string>

#include "base/ProgramsFolders.h"
#include "base/SystemQueries.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"

namespace {
constexpr ToolStep::Kind kExecutable = ToolStep::Executable, kFile = ToolStep::File,
                         kShortcut = ToolStep::Shortcut;
}  // namespace

const ControlPanelToolRow kEventJournalViewer = {
    "VLMEJVW.EXE",
    "VLMEJVW",
    {{kExecutable, "VLMEJVW.EXE", "vlmejvw.exe"},
     {kShortcut, "\\Velmora System Tools\\Velmora Event Journal Viewer.lnk"},
     {kFile, "VLMEJVW.HLP"},
     {kFile, "VLMEJVW.CNT"},
     {kFile, "VLMLSW.CPL"}}};

const ControlPanelToolRow kFrontPanelDisplay = {
    "VLMLCD.EXE",
    "VLMLCD",
    {{kExecutable, "VLMLCD.EXE", "vlmlcd.exe"},
     {kShortcut, "\\Velmora System Tools\\Velmora Front Panel Status Display.lnk"},
     {kShortcut, "\\Velmora System Tools\\Velmora Front Panel Status Display Utility.lnk"},
     {kFile, "VLMLCD.HLP"},
     {kFile, "VLMLCD.CNT"},
     {kFile, "VLMLSW.CPL"}}};

const ControlPanelToolRow kStorageFailover = {
    "FOAMON.EXE",
    "VLMSFAD",
    {{kExecutable, "FOAMON.EXE", "foamon.exe"},
     {kShortcut, "\\Velmora System Tools\\Velmora Online Storage Failover Assistant Utility.lnk"},
     {kShortcut, "\\Velmora System Tools\\Velmora On-line Standby Server Option.lnk"},
     {kFile, "FOADMIN.CPL"},
     {kFile, "FOADMIN.HLP"},
     {kFile, "FOAMON.HLP"}}};

const ControlPanelToolRow kPciLiveSwap = {
    "VLMPCI.EXE",
    "VLMPCI",
    {{kShortcut, "\\Velmora System Tools\\Velmora PCI Live Swap.lnk"},
     {kShortcut, "\\Velmora System Tools\\Velmora PCI Live Swap Utility.lnk"},
     {kFile, "VLMLSW.CPL"},
     {kExecutable, "VLMPCI.EXE", "vlmpci.exe"},
     {kFile, "VLMPCI.CNT"},
     {kFile, "VLMPCI.HLP"}}};

const ControlPanelToolRow kMirrorPair = {
    "VLMSFAD.EXE",
    "VLMSFAD",
    {{kExecutable, "VLMSFAD.EXE", "vlmsfad.exe"},
     {kShortcut, "\\Velmora System Tools\\Velmora Online Storage Failover.lnk"},
     {kShortcut, "\\Velmora System Tools\\Velmora Online Storage Failover Assistant Utility.lnk"},
     {kFile, "VLMSFAD.HLP"},
     {kFile, "VLMSFAD.CNT"},
     {kFile, "VLMLSW.CPL"}}};

const ControlPanelToolRow kShutdownScheduler = {
    "VLMSDW.EXE",
    "VLMSDW",
    {{kExecutable, "VLMSDW.EXE", "vlmsdw.exe"},
     {kShortcut, "\\Velmora System Tools\\Velmora Shutdown Switch Utility.lnk"},
     {kShortcut, "\\Velmora System Tools\\Velmora Shutdown Scheduler.lnk"},
     {kFile, "VLMSDW.HLP"},
     {kFile, "VLMSDW.CNT"},
     {kFile, "VLMLSW.CPL"}}};

// The executable's result decides nothing here and has no error line.
const ControlPanelToolRow kPowerFeedMonitor = {
    "VLMPFM.EXE",
    "VLMPFM",
    {{kFile, "VLMPFM.EXE"},
     {kShortcut, "\\Velmora System Tools\\Velmora Power Feed Monitor.lnk"},
     {kFile, "VLMPFM.HLP"},
     {kFile, "VLMPFM.CNT"},
     {kFile, "VLMLSW.CPL"}}};

bool ControlPanelTool::IsInstalled() {
    return FileExists(SystemDirectory() + row_.detectionFile);
}

bool ControlPanelTool::FinalStage() {
    DeleteKeys("Software\\Velmora\\CPL Launcher", {row_.launcherKey});
    return true;
}

bool ControlPanelTool::MiddleStage() {
    const std::string system = SystemDirectory();
    const std::string programs = CommonProgramsFolder();
    bool result = true;
    for (const ToolStep& step : row_.steps) {
        if (!step.name) break;
        switch (step.kind) {
            case ToolStep::Executable:
                result = DeleteMainFile(system + step.name, step.shownName);
                break;
            case ToolStep::File:
                DeleteFileForced(system + step.name);
                break;
            case ToolStep::Shortcut:
                DeleteShortcut(programs + step.name);
                break;
        }
    }
    return result;
}
