// Each catalog product is detected by its own files alone.
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
struct Detection {
    const char* name;
    std::function<std::unique_ptr<Component>()> make;
    std::vector<std::string> files;  // each one alone makes the product detected
};

template <class T>
std::unique_ptr<Component> Make() {
    return std::make_unique<T>();
}

const std::vector<Detection>& Detections() {
    static const std::vector<Detection> all = {
        {"DeploymentUpkeepUtility", Make<DeploymentUpkeepUtility>, {"%SYSTEM%\\upk.exe"}},
        {"Tessnet3Applet",
         Make<Tessnet3Applet>,
         {"%SYSTEM%\\TESSNT3.CPL", "%COMMONPROGRAMS%\\Velmora System Tools\\Velmora Net.lnk",
          "%SYSTEM%\\vlmttlx.exe"}},
        {"DiskArraySetupUtility", Make<DiskArraySetupUtility>, {"%SYSTEM%\\vlmdsu\\vlmdsu.exe"}},
        {"FrontPanelDisplayUtility", Make<FrontPanelDisplayUtility>, {"%SYSTEM%\\VLMLCD.EXE"}},
        {"EventJournalViewerUtility", Make<EventJournalViewerUtility>, {"%SYSTEM%\\VLMEJVW.EXE"}},
        {"OnlineStorageFailoverUtility",
         Make<OnlineStorageFailoverUtility>,
         {"%SYSTEM%\\FOAMON.EXE"}},
        {"PciLiveSwapUtility", Make<PciLiveSwapUtility>, {"%SYSTEM%\\VLMPCI.EXE"}},
        {"MirrorPairUtility", Make<MirrorPairUtility>, {"%SYSTEM%\\VLMSFAD.EXE"}},
        {"ShutdownSchedulerUtility", Make<ShutdownSchedulerUtility>, {"%SYSTEM%\\VLMSDW.EXE"}},
        {"PowerFeedMonitorUtility", Make<PowerFeedMonitorUtility>, {"%SYSTEM%\\VLMPFM.EXE"}},
        {"IntelNicApplet",
         Make<IntelNicApplet>,
         {"%SYSTEM%\\VLMNTLX.CPL", "%SYSTEM%\\vlmset.cpl", "%SYSTEM%\\NTLXMON.EXE"}},
        {"ClusterAuditUtility", Make<ClusterAuditUtility>, {"%SYSTEM%\\VLMCAU\\vcau.exe"}},
        {"ManagementAgents", Make<ManagementAgents>, {"%SYSTEM%\\VLMMGMT.CPL"}},
        {"RemoteWatchService", Make<RemoteWatchService>, {"%SYSTEM%\\VLMRWSV.EXE"}},
        {"RemoteBoardDriver", Make<RemoteBoardDriver>, {"%SYSTEM%\\drivers\\VLMRLB.SYS"}},
        {"RemoteBoardWanDriver", Make<RemoteBoardWanDriver>, {"%SYSTEM%\\drivers\\RLBWAN.SYS"}},
        {"PlatformHealthDriver", Make<PlatformHealthDriver>, {"%SYSTEM%\\drivers\\HWWATCH.SYS"}},
    };
    return all;
}

TEST(DetectionTest, CleanMachineHasNoProduct) {
    for (const Detection& product : Detections())
        EXPECT_FALSE(product.make()->IsInstalled()) << product.name;
}

TEST(DetectionTest, EachDetectionFileAloneDetectsOnlyItsProduct) {
    for (const Detection& product : Detections()) {
        for (const std::string& file : product.files) {
            const std::string path = ExpandMachinePath(file);
            {
                MachineLayout layout("clean");
                layout.Add("file " + path);
            }
            for (const Detection& other : Detections()) {
                EXPECT_EQ(&other == &product, other.make()->IsInstalled())
                    << other.name << " with " << path;
            }
            DeleteFileA(path.c_str());
        }
    }
}

TEST(DetectionTest, NeighboursWithSimilarNamesAreNotDetected) {
    MachineLayout layout("clean");
    for (const char* line : {"file %SYSTEM%\\VLMLCD2.EXE", "file %SYSTEM%\\vlmdsu.exe",
                             "dir %SYSTEM%\\UPK.EXE.old", "file %SYSTEM%\\drivers\\rlbwan.sys.bak"})
        layout.Add(line);
    for (const Detection& product : Detections())
        EXPECT_FALSE(product.make()->IsInstalled()) << product.name;
}
}  // namespace
