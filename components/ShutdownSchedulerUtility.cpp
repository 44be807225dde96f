#include "components/ShutdownSchedulerUtility.h"

#include "components/ControlPanelTool.h"
#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool ShutdownSchedulerUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMSDW.EXE");
}

bool ShutdownSchedulerUtility::FinalStage() {
    DeleteKeys({"Software\\Velmora\\CPL Launcher\\VLMSDW"});
    return true;
}

bool ShutdownSchedulerUtility::MiddleStage() {
    return RemoveToolFiles({
        {ToolStep::Executable, "VLMSDW.EXE", "vlmsdw.exe"},
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora Shutdown Switch Utility.lnk"},
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora Shutdown Scheduler.lnk"},
        {ToolStep::File, "VLMSDW.HLP"},
        {ToolStep::File, "VLMSDW.CNT"},
        {ToolStep::File, "VLMLSW.CPL"},
    });
}
