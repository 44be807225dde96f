#include "components/PowerFeedMonitorUtility.h"

#include "components/ControlPanelTool.h"
#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool PowerFeedMonitorUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMPFM.EXE");
}

bool PowerFeedMonitorUtility::FinalStage() {
    DeleteKeys({"Software\\Velmora\\CPL Launcher\\VLMPFM"});
    return true;
}

bool PowerFeedMonitorUtility::MiddleStage() {
    // The executable's result decides nothing here and has no error line.
    return RemoveToolFiles({
        {ToolStep::File, "VLMPFM.EXE"},
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora Power Feed Monitor.lnk"},
        {ToolStep::File, "VLMPFM.HLP"},
        {ToolStep::File, "VLMPFM.CNT"},
        {ToolStep::File, "VLMLSW.CPL"},
    });
}
