// The remote watch service and the three drivers removed from Wine's machine, with the WAN
// driver's network card, telephony entry and its service in Wine's service control manager.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "components/CatalogCheck.h"
#include "components/PlatformHealthDriver.h"
#include "components/RemoteBoardDriver.h"
#include "components/RemoteBoardWanDriver.h"
#include "components/RemoteWatchService.h"
#include "run/LogFile.h"

namespace {
const char kMachine[] = "drivers";
const char kCards[] = "rlbwan-cards";
const char kNetworkCards[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";

std::vector<std::string> ServiceKey(const std::string& name) {
    return {"HKLM\\SYSTEM\\CurrentControlSet\\Services\\" + name};
}

struct Entry {
    const char* name;
    std::function<std::unique_ptr<Component>()> make;
    const char* displayName;
    ProductKind kind;
    const char* word;
    const char* mainFile;
    const char* errorLine;
    std::vector<std::string> places;  // on the driver machine without network cards
    std::vector<std::string> keys;    // registry keys among them, below HKEY_LOCAL_MACHINE
};

template <class T>
std::unique_ptr<Component> Make() {
    return std::make_unique<T>();
}

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = {
        {"RemoteWatchService",
         Make<RemoteWatchService>,
         "Velmora Remote Watch Service\n",
         ProductKind::Service,
         "service",
         "%SYSTEM%\\vlmrwsv.exe",
         "Error:           did not remove vlmrwsv.exe\n",
         Join({{"%SYSTEM%\\vlmrwsv.exe", "%SYSTEM%\\vlmrpcl.dll", "%SYSTEM%\\vlmrscsmn.dll",
                "%SYSTEM%\\vlmrnicmn.dll", "HKLM\\SOFTWARE\\Velmora\\VlmRwsv"},
               ServiceKey("vlmrwsv"),
               ServiceKey("EventLog\\System\\vlmrwsv")}),
         {"SYSTEM\\CurrentControlSet\\Services\\vlmrwsv",
          "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\vlmrwsv",
          "SOFTWARE\\Velmora\\VlmRwsv"}},
        {"RemoteBoardDriver",
         Make<RemoteBoardDriver>,
         "Velmora Remote Lumenar Board Driver\n",
         ProductKind::Driver,
         "driver",
         "%SYSTEM%\\drivers\\vlmrlb.sys",
         "Error:           did not remove vlmrlb.sys\n",
         Join({{"%SYSTEM%\\drivers\\vlmrlb.sys"},
               ServiceKey("VLMRLB"),
               ServiceKey("EventLog\\System\\VLMRLB")}),
         {"SYSTEM\\CurrentControlSet\\Services\\VLMRLB",
          "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VLMRLB"}},
        {"RemoteBoardWanDriver",
         Make<RemoteBoardWanDriver>,
         "Velmora Remote Lumenar Board WAN Driver\n",
         ProductKind::Driver,
         "driver",
         "%SYSTEM%\\drivers\\rlbwan.sys",
         "Error:           did not remove rlbwan.sys\n",
         Join({{"%SYSTEM%\\drivers\\rlbwan.sys", "%SYSTEM%\\vlrlblnk.exe",
                "HKLM\\SOFTWARE\\Velmora\\RLBWAN",
                "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\RAS\\TAPI DEVICES\\RLBWAN"},
               ServiceKey("EventLog\\System\\RLBWAN"),
               ServiceKey("VlRlbLnk"),
               ServiceKey("EventLog\\System\\VlRlbLnk")}),
         {"SOFTWARE\\Velmora\\RLBWAN", "SOFTWARE\\Microsoft\\Windows NT\\RAS\\TAPI DEVICES\\RLBWAN",
          "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\RLBWAN",
          "SYSTEM\\CurrentControlSet\\Services\\VlRlbLnk",
          "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VlRlbLnk"}},
        {"PlatformHealthDriver",
         Make<PlatformHealthDriver>,
         "Velmora Platform Health Driver\n",
         ProductKind::Driver,
         "driver",
         "%SYSTEM%\\drivers\\hwwatch.sys",
         "Error:           did not remove hwwatch.sys\n",
         Join({{"%SYSTEM%\\drivers\\hwwatch.sys", "%SYSTEM%\\drivers\\hwdown.exe",
                "%SYSTEM%\\vlmshut.cmd"},
               ServiceKey("HwWatch"),
               ServiceKey("EventLog\\System\\HwWatch"),
               ServiceKey("HwDown"),
               ServiceKey("EventLog\\System\\HwDown")}),
         {"SYSTEM\\CurrentControlSet\\Services\\HwWatch",
          "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\HwWatch",
          "SYSTEM\\CurrentControlSet\\Services\\HwDown",
          "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\HwDown"}},
    };
    return entries;
}

std::string Block(const Entry& entry, const std::string& removal) {
    return WithCrLf(std::string("Product Name:    ") + entry.displayName +
                    "Action:          This " + entry.word + " has been detected.\n" +
                    "                 Attempting to remove...\n" + removal +
                    "                 This " + entry.word +
                    " has been removed.\nWarning:         N/A\n" + LogSeparator);
}

class DriversAndServiceTest : public ::testing::Test {
  protected:
    void SetUp() override { ForgetHostNetworkCards(); }
    void TearDown() override {
        DeleteTestService(kBoardService);
        UndoLayout(kCards);
        UndoLayout(kMachine);
    }
};

TEST_F(DriversAndServiceTest, RemovesExactlyTheFourWithTheFirstBoardCardAndItsService) {
    MachineLayout layout(kMachine);
    MachineLayout cards(kCards);
    ASSERT_TRUE(CreateBoardService());
    const MachineState before = CatalogSnapshot();
    std::vector<std::string> places = Join({ServiceKey("RLBWAN"),
                                            ServiceKey("RLBWAN2"),
                                            {std::string("HKLM\\") + kNetworkCards + "\\2"}});
    for (const Entry& entry : Entries()) {
        EXPECT_EQ(Block(entry, ""), ReportAndLog(*entry.make(), entry.displayName, entry.kind))
            << entry.name;
        places.insert(places.end(), entry.places.begin(), entry.places.end());
    }
    ExpectRemovedExactly(Removed(before, CatalogSnapshot()), places);
    EXPECT_FALSE(ServiceKnown(kBoardService));
    // The card with a numeric product name, the second board and the other card stay.
    for (const char* card : {"\\1", "\\3", "\\4"})
        EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, kNetworkCards + std::string(card))) << card;
}

TEST_F(DriversAndServiceTest, WithoutBoardCardOrServiceTheWanDriverStillClearsTheRest) {
    MachineLayout layout(kMachine);
    const Entry& wan = Entries()[2];
    const MachineState before = CatalogSnapshot();
    EXPECT_EQ(Block(wan, ""), ReportAndLog(*wan.make(), wan.displayName, wan.kind));
    ExpectRemovedExactly(Removed(before, CatalogSnapshot()), wan.places);
}

TEST_F(DriversAndServiceTest, RefusedSchedulingIsReportedYetCountsAsRemoved) {
    for (const Entry& entry : Entries()) {
        MachineLayout layout(kMachine);
        RefusedScheduling refused;
        HeldFile held(ExpandMachinePath(entry.mainFile));
        EXPECT_EQ(Block(entry, entry.errorLine),
                  ReportAndLog(*entry.make(), entry.displayName, entry.kind))
            << entry.name;
        EXPECT_TRUE(FileExistsAt(entry.mainFile)) << entry.name;
        for (const std::string& key : entry.keys)
            EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, key)) << entry.name << ": " << key;
    }
}
}  // namespace
