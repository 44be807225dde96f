#include "components/RemoteBoardWanDriver.h"

#include "base/SystemQueries.h"
#include "components/NetworkCardPass.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegistryKey.h"
#include "sysaccess/ServiceControl.h"

bool RemoteBoardWanDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\rlbwan.sys");
}

bool RemoteBoardWanDriver::FinalStage() {
    DeleteKeys({"Software\\Velmora\\RLBWAN"});
    // Only the first board card goes, with the adapter's per-card service key: the product
    // name with the card's name appended.
    const std::vector<std::string> cards = FindNetworkCards("RLBWAN");
    if (!cards.empty()) {
        RegistryKey(NetworkCardKey(cards.front())).DeleteTree();
        RegistryKey(std::string(kServicesKey) + "\\RLBWAN" + cards.front()).DeleteTree();
    }
    DeleteKeys({"Software\\Microsoft\\Windows NT\\RAS\\TAPI DEVICES\\RLBWAN"});
    // Forced, so a running driver is deleted too (once it stops); the manager takes the
    // service key "RLBWAN" with it.
    ServiceControl("RLBWAN").RemoveService(true);
    DeleteKeys(kServicesKey,
               {"EventLog\\System\\RLBWAN", "VlRlbLnk", "EventLog\\System\\VlRlbLnk"});
    return true;
}

bool RemoteBoardWanDriver::MiddleStage() {
    const std::string system = SystemDirectory();
    DeleteMainFile(system + "drivers\\rlbwan.sys", "rlbwan.sys");
    DeleteFiles(system, {"vlrlblnk.exe"});
    return true;
}
