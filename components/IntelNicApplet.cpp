#include "components/IntelNicApplet.h"

#include "base/ProgramsFolders.h"
#include "base/SystemQueries.h"
#include "components/MonitorRunValues.h"
#include "components/NetworkCardPass.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ServiceControl.h"

bool IntelNicApplet::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMNTLX.CPL") ||
           FileExists(SystemDirectory() + "VLMset.CPL") ||
           FileExists(SystemDirectory() + "ntlxmon.exe");
}

bool IntelNicApplet::FinalStage() {
    DeleteMonitorRunValues();
    ServiceControl ntcTeaming("VLMNTC");
    ServiceControl ancTeaming("VLMANC");
    const bool teamingInstalled = ntcTeaming.ServiceInstalled() || ancTeaming.ServiceInstalled();
    if (!teamingInstalled || !IsNt4Version()) return true;

    RequestNetworkSetup();
    DeleteKeys(kServicesKey, {"VLMANC", "VLMNTC"});
    NetworkCardPass("N100", NetworkCardAction::RebindAndStripTeaming);
    NetworkCardPass("N1000", NetworkCardAction::StripTeaming);
    NetworkCardPass("VLMANC", NetworkCardAction::DeleteAdapterService);
    NetworkCardPass("VLMNTC", NetworkCardAction::DeleteAdapterService);
    DeleteVirtualAdapterEntries();
    return true;
}

bool IntelNicApplet::MiddleStage() {
    // The monitor program goes too, or a later run would detect the applet by it again.
    DeleteFiles(SystemDirectory(), {"VLMNTLX.CPL", "vlmset.cpl", "ntlxmon.exe"});
    DeleteFileForced(CommonProgramsFolder() + "\\Velmora System Tools\\Velmora Network.LNK");
    return true;
}
