#include "components/FrontPanelDisplayUtility.h"

#include "components/ControlPanelTool.h"
#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool FrontPanelDisplayUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMLCD.EXE");
}

bool FrontPanelDisplayUtility::FinalStage() {
    DeleteKeys({"Software\\Velmora\\CPL Launcher\\VLMLCD"});
    return true;
}

bool FrontPanelDisplayUtility::MiddleStage() {
    return RemoveToolFiles({
        {ToolStep::Executable, "VLMLCD.EXE", "vlmlcd.exe"},
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora Front Panel Status Display.lnk"},
        {ToolStep::Shortcut,
         "\\Velmora System Tools\\Velmora Front Panel Status Display Utility.lnk"},
        {ToolStep::File, "VLMLCD.HLP"},
        {ToolStep::File, "VLMLCD.CNT"},
        {ToolStep::File, "VLMLSW.CPL"},
    });
}
