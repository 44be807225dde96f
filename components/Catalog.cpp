#include "components/Catalog.h"

#include "components/ClusterAuditUtility.h"
#include "components/ControlPanelTool.h"
#include "components/DeploymentUpkeepUtility.h"
#include "components/DiskArraySetupUtility.h"
#include "components/FailoverAgentTransports.h"
#include "components/IntelNicApplet.h"
#include "components/ManagementAgents.h"
#include "components/PlatformHealthDriver.h"
#include "components/RemoteBoardDriver.h"
#include "components/RemoteBoardWanDriver.h"
#include "components/RemoteWatchService.h"
#include "components/Tessnet3Applet.h"

namespace {
template <typename Product>
std::unique_ptr<Component> Make() {
    return std::make_unique<Product>();
}

template <const ControlPanelToolRow& row>
std::unique_ptr<Component> Tool() {
    return std::make_unique<ControlPanelTool>(row);
}

constexpr ProductKind kUtility = ProductKind::Utility;
}  // namespace

const CatalogEntry kCatalog[kCatalogSize] = {
    {"Velmora Deployment Upkeep Utility\n", kUtility, Make<DeploymentUpkeepUtility>},
    {"Tessnet3 control panel applet\n", ProductKind::Component, Make<Tessnet3Applet>},
    {"Velmora Disk Array Setup Utility\n", kUtility, Make<DiskArraySetupUtility>},
    {"Velmora Front Panel Status Display Utility\n", kUtility, Tool<kFrontPanelDisplay>},
    {"Velmora Event Journal Viewer Utility\n", kUtility, Tool<kEventJournalViewer>},
    {"Velmora Online Storage Failover Assistant\n", kUtility, Tool<kStorageFailover>},
    {"Velmora PCI Live Swap Utility\n", kUtility, Tool<kPciLiveSwap>},
    {"Velmora Mirror Pair Utility\n", kUtility, Tool<kMirrorPair>},
    {"Velmora Shutdown Scheduler\n", kUtility, Tool<kShutdownScheduler>},
    {"Velmora Power Feed Monitor Utility\n", kUtility, Tool<kPowerFeedMonitor>},
    {"Intel NIC control panel applet\n", ProductKind::Component, Make<IntelNicApplet>},
    {"Velmora Cluster Audit Utility (installed from SWK 2.x)\n", kUtility,
     Make<ClusterAuditUtility>},
    {"Velmora Lumenar Agents\n", kUtility, Make<ManagementAgents>},
    {"Velmora Remote Watch Service\n", ProductKind::Service, Make<RemoteWatchService>},
    {"Velmora Remote Lumenar Board Driver\n", ProductKind::Driver, Make<RemoteBoardDriver>},
    {"Velmora Remote Lumenar Board WAN Driver\n", ProductKind::Driver, Make<RemoteBoardWanDriver>},
    {"Velmora Platform Health Driver\n", ProductKind::Driver, Make<PlatformHealthDriver>},
    {"Velmora failover agent transports", ProductKind::Component, Make<FailoverAgentTransports>},
};

CatalogProducts::CatalogProducts() {
    for (const CatalogEntry& entry : kCatalog) products_.push_back(entry.make());
}

CatalogProducts::~CatalogProducts() {
    while (!products_.empty()) products_.pop_back();
}

bool CatalogProducts::NetworkSetupRequested() const {
    for (const auto& product : products_)
        if (product->NetworkSetupRequested()) return true;
    return false;
}
