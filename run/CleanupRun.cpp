#include "run/CleanupRun.h"

#include <utility>

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
#include "run/ChangeReport.h"
#include "run/LogFile.h"
#include "run/NetworkSetup.h"
#include "run/PreviewReport.h"
#include "run/SystemQueries.h"

namespace {
// A catalog entry with a log block, in the fixed order of the run.
struct CatalogEntry {
    Component& product;
    const char* displayName;
    ProductKind kind;
};

// Entry 18 has no log block; the reports name it so.
const char kFailoverAgentName[] = "Velmora failover agent transports";

// A display name without its closing line end.
std::string Shown(const char* displayName) {
    std::string name = displayName;
    if (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}
}  // namespace

CleanupRun::CleanupRun(HWND owner, std::string caption)
    : owner_(owner), caption_(std::move(caption)) {}

void CleanupRun::Tell(const char* text) const {
    MessageBoxA(owner_, text, caption_.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// Without an owner (a silent run) a hidden 1 by 1 window of our own owns the setup.
void CleanupRun::FinishNetworkSetup() const {
    if (owner_) {
        RunNetworkSetup(GetLastActivePopup(owner_));
        return;
    }
    HWND hidden = CreateWindowExA(0, "STATIC", "Oberin", 0, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    RunNetworkSetup(hidden);
    if (hidden) DestroyWindow(hidden);
}

bool OpenRunFile(LogFile& file, const char* name) {
    return file.Open(BesideLog(CurrentDirectoryLogPath(), name)) ||
           file.Open(BesideLog(LogPathIn(SystemDirectory()), name));
}

bool OpenRunLog() {
    return OpenRunFile(TheLogFile(), "oberin.log");
}

bool ReportProduct(Component& product, const char* displayName, ProductKind kind, bool installed) {
    LogFile& log = TheLogFile();
    bool removed = true;
    log.Write("Product Name:    ");
    log.Write(displayName);
    if (installed) {
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
    LogFile& log = TheLogFile();
    tally_ = CleanupTally();
    tally_.logOpened = OpenRunLog();
    if (!tally_.logOpened) {
        if (!silent) Tell("Failed to open Log File:  Application exiting.");
        return false;
    }
    tally_.supported = IsSupportedVersion();
    if (!tally_.supported) {
        log.Write(std::string(kNotSupportedText) + "\n");
        log.Close();
        if (!silent) Tell(kNotSupportedText);
        return false;
    }
    ChangeReport changes(log.Path());
    InstalledChangeGate gate(changes);
    log.Write(LogSeparator);
    tally_.result = RemoveCatalog(changes);
    tally_.errors = log.Errors();
    tally_.changed = changes.Changed();
    tally_.notSaved = changes.NotSaved();
    changes.Close();
    return tally_.result;
}

int CleanupRun::Preview() {
    LogFile file;
    tally_ = CleanupTally();
    tally_.logOpened = OpenRunFile(file, "oberin-preview.txt");
    PreviewReport preview(file);
    tally_.supported = IsSupportedVersion();
    if (!tally_.supported) {
        preview.Note(std::string(kNotSupportedText) + "\n");
    } else {
        InstalledChangeGate gate(preview);
        RemoveCatalog(preview);
    }
    tally_.wouldChange = preview.Finish();
    tally_.logComplete = file.Close();
    return tally_.wouldChange > 0 ? 1 : 0;
}

bool CleanupRun::RemoveCatalog(RunRecord& record) {
    bool result = true;
    // The components live until the network setup is done and go in reverse order.
    DeploymentUpkeepUtility upkeep;
    Tessnet3Applet tessnet3;
    DiskArraySetupUtility diskArray;
    FrontPanelDisplayUtility frontPanel;
    EventJournalViewerUtility eventJournal;
    OnlineStorageFailoverUtility storageFailover;
    PciLiveSwapUtility liveSwap;
    MirrorPairUtility mirrorPair;
    ShutdownSchedulerUtility shutdownScheduler;
    PowerFeedMonitorUtility powerFeed;
    IntelNicApplet intelNic;
    ClusterAuditUtility clusterAudit;
    ManagementAgents agents;
    RemoteWatchService remoteWatch;
    RemoteBoardDriver remoteBoard;
    RemoteBoardWanDriver remoteBoardWan;
    PlatformHealthDriver platformHealth;
    FailoverAgentTransports failoverAgent;
    const CatalogEntry catalog[] = {
        {upkeep, "Velmora Deployment Upkeep Utility\n", ProductKind::Utility},
        {tessnet3, "Tessnet3 control panel applet\n", ProductKind::Component},
        {diskArray, "Velmora Disk Array Setup Utility\n", ProductKind::Utility},
        {frontPanel, "Velmora Front Panel Status Display Utility\n", ProductKind::Utility},
        {eventJournal, "Velmora Event Journal Viewer Utility\n", ProductKind::Utility},
        {storageFailover, "Velmora Online Storage Failover Assistant\n", ProductKind::Utility},
        {liveSwap, "Velmora PCI Live Swap Utility\n", ProductKind::Utility},
        {mirrorPair, "Velmora Mirror Pair Utility\n", ProductKind::Utility},
        {shutdownScheduler, "Velmora Shutdown Scheduler\n", ProductKind::Utility},
        {powerFeed, "Velmora Power Feed Monitor Utility\n", ProductKind::Utility},
        {intelNic, "Intel NIC control panel applet\n", ProductKind::Component},
        {clusterAudit, "Velmora Cluster Audit Utility (installed from SWK 2.x)\n",
         ProductKind::Utility},
        {agents, "Velmora Lumenar Agents\n", ProductKind::Utility},
        {remoteWatch, "Velmora Remote Watch Service\n", ProductKind::Service},
        {remoteBoard, "Velmora Remote Lumenar Board Driver\n", ProductKind::Driver},
        {remoteBoardWan, "Velmora Remote Lumenar Board WAN Driver\n", ProductKind::Driver},
        {platformHealth, "Velmora Platform Health Driver\n", ProductKind::Driver},
    };
    int number = 0;
    for (const CatalogEntry& entry : catalog) {
        const bool installed = entry.product.IsInstalled();
        record.BeginEntry(++number, Shown(entry.displayName),
                          installed ? "detected" : "not detected");
        const bool removed = ReportProduct(entry.product, entry.displayName, entry.kind, installed);
        if (installed) ++(removed ? tally_.removed : tally_.notRemoved);
        if (!removed) result = false;
    }
    // The last entry has no block and is removed whether or not anything of it is there.
    record.BeginEntry(++number, kFailoverAgentName, "removed without detection");
    if (!failoverAgent.Remove()) result = false;

    // A report that could not be written completely cannot tell the run's success.
    tally_.logComplete = TheLogFile().Close();
    if (!tally_.logComplete) result = false;
    record.BeginEntry(0, std::string(), "");
    if (NetworkSetupPending) FinishNetworkSetup();
    return result;
}
