#include "components/RemoteBoardWanDriver.h"

#include "components/RegistryReads.h"
#include "components/RemovalSteps.h"
#include "netcfg/AsciiText.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegistryKey.h"
#include "sysaccess/ServiceControl.h"

namespace {
const char kNetworkCards[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";

// Subkey name of the first network card whose "ProductName" string is "RLBWAN" in any letter
// case; empty when there is none. A name stored as anything but a plain string never matches.
std::string FindBoardCard() {
    RegistryKey cards(kNetworkCards);
    for (std::string card = cards.FirstSubkey(); !card.empty(); card = cards.NextSubkey()) {
        const std::string product =
            StringValue(std::string(kNetworkCards) + "\\" + card, "ProductName");
        if (SameTextIgnoringCase(product.c_str(), "RLBWAN")) return card;
    }
    return std::string();
}
}  // namespace

bool RemoteBoardWanDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\rlbwan.sys");
}

bool RemoteBoardWanDriver::FinalStage() {
    DeleteKeys({"Software\\Velmora\\RLBWAN"});
    const std::string card = FindBoardCard();
    if (!card.empty()) {
        RegistryKey(std::string(kNetworkCards) + "\\" + card).DeleteTree();
        // The adapter's per-card service key: the product name with the card's name appended.
        RegistryKey("System\\CurrentControlSet\\Services\\RLBWAN" + card).DeleteTree();
    }
    DeleteKeys({"Software\\Microsoft\\Windows NT\\RAS\\TAPI DEVICES\\RLBWAN"});
    // Forced, so a running driver is deleted too (once it stops); the manager takes the
    // service key "RLBWAN" with it.
    ServiceControl("RLBWAN").RemoveService(true);
    DeleteKeys({"System\\CurrentControlSet\\Services\\EventLog\\System\\RLBWAN",
                "System\\CurrentControlSet\\Services\\VlRlbLnk",
                "System\\CurrentControlSet\\Services\\EventLog\\System\\VlRlbLnk"});
    return true;
}

bool RemoteBoardWanDriver::MiddleStage() {
    const std::string system = SystemDirectory();
    DeleteMainFile(system + "drivers\\rlbwan.sys", "rlbwan.sys");
    DeleteFiles(system, {"vlrlblnk.exe"});
    return true;
}
