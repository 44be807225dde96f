// Each catalog product is detected by its own files alone (the cases in detection.txt).
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "components/ClusterAuditUtility.h"
#include "components/DeploymentUpkeepUtility.h"
#include "components/DiskArraySetupUtility.h"
#include "components/EventJournalViewerUtility.h"
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
#include "support/Machine.h"

namespace {
template <class T>
std::pair<std::string, std::function<bool()>> Product(const char* name) {
    return {name, [] { return T().IsInstalled(); }};
}

const std::vector<std::pair<std::string, std::function<bool()>>> kProducts = {
    Product<DeploymentUpkeepUtility>("DeploymentUpkeepUtility"),
    Product<Tessnet3Applet>("Tessnet3Applet"),
    Product<DiskArraySetupUtility>("DiskArraySetupUtility"),
    Product<FrontPanelDisplayUtility>("FrontPanelDisplayUtility"),
    Product<EventJournalViewerUtility>("EventJournalViewerUtility"),
    Product<OnlineStorageFailoverUtility>("OnlineStorageFailoverUtility"),
    Product<PciLiveSwapUtility>("PciLiveSwapUtility"),
    Product<MirrorPairUtility>("MirrorPairUtility"),
    Product<ShutdownSchedulerUtility>("ShutdownSchedulerUtility"),
    Product<PowerFeedMonitorUtility>("PowerFeedMonitorUtility"),
    Product<IntelNicApplet>("IntelNicApplet"),
    Product<ClusterAuditUtility>("ClusterAuditUtility"),
    Product<ManagementAgents>("ManagementAgents"),
    Product<RemoteWatchService>("RemoteWatchService"),
    Product<RemoteBoardDriver>("RemoteBoardDriver"),
    Product<RemoteBoardWanDriver>("RemoteBoardWanDriver"),
    Product<PlatformHealthDriver>("PlatformHealthDriver"),
};

TEST(DetectionTest, EachFileAloneDetectsOnlyItsProduct) {
    for (const auto& row : CaseTable("components\\detection.txt")) {
        const std::string path = ExpandMachinePath(row[1]);
        const std::string folder = path.substr(0, path.find_last_of('\\'));
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(WriteWholeFile(path, "")) << path;
        for (const auto& product : kProducts)
            EXPECT_EQ(product.first == row[0], product.second())
                << product.first << " with " << path;
        DeleteFileA(path.c_str());
        RemoveDirectoryA(folder.c_str());
    }
}
}  // namespace
