#include "components/Tessnet3Applet.h"

#include "base/ProgramsFolders.h"
#include "base/SystemQueries.h"
#include "components/MonitorRunValues.h"
#include "components/NetworkCardPass.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"

bool Tessnet3Applet::IsInstalled() {
    return FileExists(SystemDirectory() + "tessnt3.cpl") ||
           FileExists(CommonProgramsFolder() + "\\Velmora System Tools\\Velmora Net.lnk") ||
           FileExists(SystemDirectory() + "vlmttlx.exe");
}

bool Tessnet3Applet::FinalStage() {
    DeleteMonitorRunValues();
    if (IsNt351Build() || IsNt4Version()) {
        RequestNetworkSetup();
        NetworkCardPass("VLMTN3", NetworkCardAction::ResetSecondaryAdapter);
    }
    if (IsNt4Version()) {
        RequestNetworkSetup();
        NetworkCardPass("VLMTN3", NetworkCardAction::StripTeaming);
        NetworkCardPass("VLMANC", NetworkCardAction::DeleteAdapterService);
        NetworkCardPass("VLMNTC", NetworkCardAction::DeleteAdapterService);
    }
    DeleteVirtualAdapterEntries();
    return true;
}

bool Tessnet3Applet::MiddleStage() {
    // The monitor program goes too, or a later run would detect the applet by it again.
    DeleteFiles(SystemDirectory(), {"tessnt3.cpl", "vlmttlx.cpl", "vlmttlx.exe"});
    const std::string tools = CommonProgramsFolder() + "\\Velmora System Tools";
    DeleteShortcuts(tools,
                    {"\\Velmora Net.lnk", "\\Velmora Network.lnk", "\\Velmora TLAN Network.lnk"});
    return true;
}
