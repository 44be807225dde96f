#include "components/MirrorPairUtility.h"

#include "components/ControlPanelTool.h"
#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool MirrorPairUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMSFAD.EXE");
}

bool MirrorPairUtility::FinalStage() {
    DeleteKeys({"Software\\Velmora\\CPL Launcher\\VLMSFAD"});
    return true;
}

bool MirrorPairUtility::MiddleStage() {
    return RemoveToolFiles({
        {ToolStep::Executable, "VLMSFAD.EXE", "vlmsfad.exe"},
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora Online Storage Failover.lnk"},
        {ToolStep::Shortcut,
         "\\Velmora System Tools\\Velmora Online Storage Failover Assistant Utility.lnk"},
        {ToolStep::File, "VLMSFAD.HLP"},
        {ToolStep::File, "VLMSFAD.CNT"},
        {ToolStep::File, "VLMLSW.CPL"},
    });
}
