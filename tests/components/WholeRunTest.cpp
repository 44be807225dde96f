// A silent run of the program over a machine with the disk array utility, the control-panel
// tools and the drivers and service installed.
#include <gtest/gtest.h>

#include "components/CatalogCheck.h"

namespace {
const char* const kMachines[] = {"disk-array", "control-panel-tools", "drivers", "rlbwan-cards"};

// Items beside the products, named like them, that the run leaves alone.
const char* const kNeighbourKeys[] = {
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMDSU2",
    "SOFTWARE\\Velmora\\Disk Array Setup Utility Backup",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMLCD2",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMCAUTLX",
    "SOFTWARE\\Velmora\\VLMPFM",
    "SOFTWARE\\Velmora\\RLBWANX",
    "SOFTWARE\\Microsoft\\Windows NT\\RAS\\TAPI DEVICES\\RLBWAN2",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\3",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\4",
    "SYSTEM\\CurrentControlSet\\Services\\vlmrwsv2",
    "SYSTEM\\CurrentControlSet\\Services\\HwWatchdog",
    "SYSTEM\\CurrentControlSet\\Services\\RLBWAN1",
    "SYSTEM\\CurrentControlSet\\Services\\RLBWAN3",
    "SYSTEM\\CurrentControlSet\\Services\\E100B4",
};
const char* const kProductKeys[] = {
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMDSU",
    "SOFTWARE\\Velmora\\Disk Array Setup Utility",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMLCD",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMEJVW",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMSFAD",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMPCI",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMSDW",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMPFM",
    "SOFTWARE\\Velmora\\CPL Launcher\\VLMCAUTL",
    "SOFTWARE\\Velmora\\VlmRwsv",
    "SOFTWARE\\Velmora\\RLBWAN",
    "SOFTWARE\\Microsoft\\Windows NT\\RAS\\TAPI DEVICES\\RLBWAN",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\2",
    "SYSTEM\\CurrentControlSet\\Services\\RLBWAN",
    "SYSTEM\\CurrentControlSet\\Services\\RLBWAN2",
    "SYSTEM\\CurrentControlSet\\Services\\vlmrwsv",
    "SYSTEM\\CurrentControlSet\\Services\\VLMRLB",
    "SYSTEM\\CurrentControlSet\\Services\\VlRlbLnk",
    "SYSTEM\\CurrentControlSet\\Services\\HwWatch",
    "SYSTEM\\CurrentControlSet\\Services\\HwDown",
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\vlmrwsv",
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VLMRLB",
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\RLBWAN",
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VlRlbLnk",
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\HwWatch",
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\HwDown",
};

// The files a machine lays out before ("product") or after ("neighbour") its neighbours line.
std::vector<std::string> LaidFiles(const char* machine, bool neighbours) {
    std::vector<std::string> files;
    bool inNeighbours = false;
    for (const std::string& line : ManifestLines(machine)) {
        if (line.rfind("# Neighbours", 0) == 0) inNeighbours = true;
        const ManifestEntry entry = ParseManifestLine(line);
        if (entry.kind == "file" && inNeighbours == neighbours) files.push_back(entry.path);
    }
    return files;
}

class WholeRunTest : public ::testing::Test {
  protected:
    void SetUp() override { ForgetHostNetworkCards(); }
    void TearDown() override {
        DeleteTestService(kBoardService);
        for (const char* machine : kMachines) UndoLayout(machine);
    }
};

TEST_F(WholeRunTest, SilentRunRemovesTheProductsAndLeavesTheirNeighbours) {
    for (const char* machine : kMachines) MachineLayout layout(machine);
    ASSERT_TRUE(CreateBoardService());
    const std::string folder = FreshFolder("C:\\catalog-run");
    EXPECT_EQ(0, RunOberin("s", folder));
    EXPECT_EQ(ReadWholeFile(TestsDir() + "\\machines\\catalog-a-run\\expected.log"),
              ReadWholeFile(folder + "\\oberin.log"));
    for (const char* machine : kMachines) {
        for (const std::string& file : LaidFiles(machine, false))
            EXPECT_FALSE(FileExistsAt(file)) << file;
        for (const std::string& file : LaidFiles(machine, true))
            EXPECT_TRUE(FileExistsAt(file)) << file;
    }
    for (const char* key : kProductKeys) EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, key)) << key;
    for (const char* key : kNeighbourKeys) EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, key)) << key;
    EXPECT_FALSE(ServiceKnown(kBoardService));
    RemoveTree(folder);
}
}  // namespace
