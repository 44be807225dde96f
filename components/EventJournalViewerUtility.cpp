#include "components/EventJournalViewerUtility.h"

#include "components/ControlPanelTool.h"
#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool EventJournalViewerUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMEJVW.EXE");
}

bool EventJournalViewerUtility::FinalStage() {
    DeleteKeys({"Software\\Velmora\\CPL Launcher\\VLMEJVW"});
    return true;
}

bool EventJournalViewerUtility::MiddleStage() {
    return RemoveToolFiles({
        {ToolStep::Executable, "VLMEJVW.EXE", "vlmejvw.exe"},
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora Event Journal Viewer.lnk"},
        {ToolStep::File, "VLMEJVW.HLP"},
        {ToolStep::File, "VLMEJVW.CNT"},
        {ToolStep::File, "VLMLSW.CPL"},
    });
}
