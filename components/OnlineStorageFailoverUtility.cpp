#include "components/OnlineStorageFailoverUtility.h"

#include "components/ControlPanelTool.h"
#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool OnlineStorageFailoverUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "FOAMON.EXE");
}

bool OnlineStorageFailoverUtility::FinalStage() {
    DeleteKeys({"Software\\Velmora\\CPL Launcher\\VLMSFAD"});
    return true;
}

bool OnlineStorageFailoverUtility::MiddleStage() {
    return RemoveToolFiles({
        {ToolStep::Executable, "FOAMON.EXE", "foamon.exe"},
        {ToolStep::Shortcut,
         "\\Velmora System Tools\\Velmora Online Storage Failover Assistant Utility.lnk"},
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora On-line Standby Server Option.lnk"},
        {ToolStep::File, "FOADMIN.CPL"},
        {ToolStep::File, "FOADMIN.HLP"},
        {ToolStep::File, "FOAMON.HLP"},
    });
}
