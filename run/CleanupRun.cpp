#include "run/CleanupRun.h"

#include <windows.h>

#include "app/CleanupApp.h"
#include "components/ClusterAuditUtility.h"
#include "components/DeploymentUpkeepUtility.h"
#include "components/DiskArraySetupUtility.h"
#include "components/EventJournalViewerUtility.h"
#include "components/FailoverAgentTransports.h"
#include "components/FrontPanelDisplayUtility.h"
#include "components/IntelNicApplet.h"
#include "components/ManagementAgents.h"
#include "components/MirrorPairUtility.h"
#include "components/OnlineStorageFailoverUtility.h"
#include "components/PciLiveSwapUtility.h"
#include "components/PlatformHealthDriver.h"
#include "components/PowerFeedMonitorUtility.h"
#include "components/RemoteBoardDriver.h"
#include "components/RemoteBoardWanDriver.h"
#include "components/RemoteWatchService.h"
#include "components/ShutdownSchedulerUtility.h"
#include "components/Tessnet3Applet.h"
#include "run/LogFile.h"
#include "run/NetworkSetup.h"
#include "run/SystemQueries.h"

namespace {
const char kNotSupported[] = "Oberin is not supported on this version of Windows.";

void Tell(const char* text) {
    MessageBoxA(CleanupApp::MainWindow(), text, CleanupApp::Name().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

// Runs the network setup owned by the main dialog, or in a silent run by a hidden 1 by 1
// window of our own.
void FinishNetworkSetup() {
    if (HWND main = CleanupApp::MainWindow()) {
        RunNetworkSetup(GetLastActivePopup(main));
        return;
    }
    HWND owner = CreateWindowExA(0, "STATIC", "Oberin", 0, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    RunNetworkSetup(owner);
    if (owner) DestroyWindow(owner);
}
}  // namespace

bool OpenRunLog() {
    LogFile& log = TheLogFile();
    return log.Open(CurrentDirectoryLogPath()) || log.Open(LogPathIn(SystemDirectory()));
}

bool ReportProduct(Component& product, const char* displayName, ProductKind kind) {
    LogFile& log = TheLogFile();
    bool removed = true;
    log.Write("Product Name:    ");
    log.Write(displayName);
    if (product.IsInstalled()) {
        log.Write("Action:          ");
        log.Write(DetectedText(kind));
        log.Write("                 Attempting to remove...\n");
        removed = product.Remove();
        if (removed) {
            log.Write(RemovedText(kind));
            log.Write("Warning:         N/A\n");
        } else {
            log.Write(NotRemovedText(kind));
        }
    } else {
        log.Write("Action:          ");
        log.Write(NotInstalledText(kind));
        log.Write("                 Utility from Velmora is not attempting to remove it.\n");
        log.Write("Warning:         N/A\n");
    }
    log.Write(LogSeparator);
    return removed;
}

bool CleanupRun::Run(bool silent) {
    bool result = true;
    LogFile& log = TheLogFile();
    if (!OpenRunLog()) {
        if (!silent) Tell("Failed to open Log File:  Application exiting.");
        return false;
    }
    if (!IsNt351Build() && !IsNt4Version()) {
        log.Write(std::string(kNotSupported) + "\n");
        log.Close();
        if (!silent) Tell(kNotSupported);
        return false;
    }
    log.Write(LogSeparator);

    // The components live until the network setup is done and go in reverse order.
    DeploymentUpkeepUtility upkeep;
    result &= ReportProduct(upkeep, "Velmora Deployment Upkeep Utility\n", ProductKind::Utility);
    Tessnet3Applet tessnet3;
    result &= ReportProduct(tessnet3, "Tessnet3 control panel applet\n", ProductKind::Component);
    DiskArraySetupUtility diskArray;
    result &= ReportProduct(diskArray, "Velmora Disk Array Setup Utility\n", ProductKind::Utility);
    FrontPanelDisplayUtility frontPanel;
    result &= ReportProduct(frontPanel, "Velmora Front Panel Status Display Utility\n",
                            ProductKind::Utility);
    EventJournalViewerUtility eventJournal;
    result &=
        ReportProduct(eventJournal, "Velmora Event Journal Viewer Utility\n", ProductKind::Utility);
    OnlineStorageFailoverUtility storageFailover;
    result &= ReportProduct(storageFailover, "Velmora Online Storage Failover Assistant\n",
                            ProductKind::Utility);
    PciLiveSwapUtility liveSwap;
    result &= ReportProduct(liveSwap, "Velmora PCI Live Swap Utility\n", ProductKind::Utility);
    MirrorPairUtility mirrorPair;
    result &= ReportProduct(mirrorPair, "Velmora Mirror Pair Utility\n", ProductKind::Utility);
    ShutdownSchedulerUtility shutdownScheduler;
    result &=
        ReportProduct(shutdownScheduler, "Velmora Shutdown Scheduler\n", ProductKind::Utility);
    PowerFeedMonitorUtility powerFeed;
    result &=
        ReportProduct(powerFeed, "Velmora Power Feed Monitor Utility\n", ProductKind::Utility);
    IntelNicApplet intelNic;
    result &= ReportProduct(intelNic, "Intel NIC control panel applet\n", ProductKind::Component);
    ClusterAuditUtility clusterAudit;
    result &=
        ReportProduct(clusterAudit, "Velmora Cluster Audit Utility (installed from SWK 2.x)\n",
                      ProductKind::Utility);
    ManagementAgents agents;
    result &= ReportProduct(agents, "Velmora Lumenar Agents\n", ProductKind::Utility);
    RemoteWatchService remoteWatch;
    result &= ReportProduct(remoteWatch, "Velmora Remote Watch Service\n", ProductKind::Service);
    RemoteBoardDriver remoteBoard;
    result &=
        ReportProduct(remoteBoard, "Velmora Remote Lumenar Board Driver\n", ProductKind::Driver);
    RemoteBoardWanDriver remoteBoardWan;
    result &= ReportProduct(remoteBoardWan, "Velmora Remote Lumenar Board WAN Driver\n",
                            ProductKind::Driver);
    PlatformHealthDriver platformHealth;
    result &=
        ReportProduct(platformHealth, "Velmora Platform Health Driver\n", ProductKind::Driver);
    FailoverAgentTransports failoverAgent;
    result &= failoverAgent.Remove();

    log.Close();
    if (NetworkSetupPending) FinishNetworkSetup();
    return result;
}
