// The remote watch service and the three drivers when their main file can neither go nor be
// scheduled, and the WAN driver's network-card walk with its service in Wine's service control
// manager. The sample server run checks the four entries' whole removal.
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

struct Entry {
    const char* name;
    std::function<std::unique_ptr<Component>()> make;
    const char* displayName;
    ProductKind kind;
    const char* word;
    const char* mainFile;
    const char* errorLine;
    std::vector<std::string> keys;  // below HKEY_LOCAL_MACHINE
};

template <class T>
std::unique_ptr<Component> Make() {
    return std::make_unique<T>();
}

const char kServices[] = "SYSTEM\\CurrentControlSet\\Services\\";

const std::vector<Entry>& Entries() {
    static const std::string events = std::string(kServices) + "EventLog\\System\\";
    static const std::vector<Entry> entries = {
        {"RemoteWatchService",
         Make<RemoteWatchService>,
         "Velmora Remote Watch Service\n",
         ProductKind::Service,
         "service",
         "%SYSTEM%\\vlmrwsv.exe",
         "Error:           did not remove vlmrwsv.exe\n",
         {kServices + std::string("vlmrwsv"), events + "vlmrwsv", "SOFTWARE\\Velmora\\VlmRwsv"}},
        {"RemoteBoardDriver",
         Make<RemoteBoardDriver>,
         "Velmora Remote Lumenar Board Driver\n",
         ProductKind::Driver,
         "driver",
         "%SYSTEM%\\drivers\\vlmrlb.sys",
         "Error:           did not remove vlmrlb.sys\n",
         {kServices + std::string("VLMRLB"), events + "VLMRLB"}},
        {"RemoteBoardWanDriver",
         Make<RemoteBoardWanDriver>,
         "Velmora Remote Lumenar Board WAN Driver\n",
         ProductKind::Driver,
         "driver",
         "%SYSTEM%\\drivers\\rlbwan.sys",
         "Error:           did not remove rlbwan.sys\n",
         {"SOFTWARE\\Velmora\\RLBWAN", "SOFTWARE\\Microsoft\\Windows NT\\RAS\\TAPI DEVICES\\RLBWAN",
          events + "RLBWAN", kServices + std::string("VlRlbLnk"), events + "VlRlbLnk"}},
        {"PlatformHealthDriver",
         Make<PlatformHealthDriver>,
         "Velmora Platform Health Driver\n",
         ProductKind::Driver,
         "driver",
         "%SYSTEM%\\drivers\\hwwatch.sys",
         "Error:           did not remove hwwatch.sys\n",
         {kServices + std::string("HwWatch"), events + "HwWatch", kServices + std::string("HwDown"),
          events + "HwDown"}},
    };
    return entries;
}

// What the WAN driver removes from the driver machine without network cards.
std::vector<std::string> WanPlaces() {
    std::vector<std::string> places = {"%SYSTEM%\\drivers\\rlbwan.sys", "%SYSTEM%\\vlrlblnk.exe"};
    for (const std::string& key : Entries()[2].keys) places.push_back("HKLM\\" + key);
    return places;
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

TEST_F(DriversAndServiceTest, WanDriverTakesTheFirstBoardCardAndItsService) {
    MachineLayout layout(kMachine);
    MachineLayout cards(kCards);
    ASSERT_TRUE(CreateBoardService());
    const Entry& wan = Entries()[2];
    const MachineState before = CatalogSnapshot();
    EXPECT_EQ(Block(wan, ""), ReportAndLog(*wan.make(), wan.displayName, wan.kind));
    std::vector<std::string> places = WanPlaces();
    for (const char* key : {"RLBWAN", "RLBWAN2"})
        places.push_back(std::string("HKLM\\") + kServices + key);
    places.push_back(std::string("HKLM\\") + kNetworkCards + "\\2");
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
    ExpectRemovedExactly(Removed(before, CatalogSnapshot()), WanPlaces());
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
