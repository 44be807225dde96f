#include "components/PciLiveSwapUtility.h"

#include "components/ControlPanelTool.h"
#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool PciLiveSwapUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMPCI.EXE");
}

bool PciLiveSwapUtility::FinalStage() {
    DeleteKeys({"Software\\Velmora\\CPL Launcher\\VLMPCI"});
    return true;
}

bool PciLiveSwapUtility::MiddleStage() {
    return RemoveToolFiles({
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora PCI Live Swap.lnk"},
        {ToolStep::Shortcut, "\\Velmora System Tools\\Velmora PCI Live Swap Utility.lnk"},
        {ToolStep::File, "VLMLSW.CPL"},
        {ToolStep::Executable, "VLMPCI.EXE", "vlmpci.exe"},
        {ToolStep::File, "VLMPCI.CNT"},
        {ToolStep::File, "VLMPCI.HLP"},
    });
}
