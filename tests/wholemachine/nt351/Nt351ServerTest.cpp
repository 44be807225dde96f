// The sample server under Windows NT 3.51, whose shell is Program Manager: the products' groups
// and items go through its DDE commands (Wine's desktop serves them and keeps groups as folders
// of the current user's Programs folder), and nothing beside the catalog is removed.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "support/ServerCatalog.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgmanClient.h"

namespace {
const char kWork[] = "C:\\server";

std::string ProgramManagerGroups() {
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, 0, programs);
    return programs;
}

// Groups and items as the products' installers made them, beside one of the system's own.
bool MakeGroups() {
    for (int attempt = 0; attempt < 100 && !ProgmanConnect(); ++attempt) Sleep(100);
    const std::string item = "[AddItem(C:\\windows\\notepad.exe,";
    bool made = ProgmanCreateGroup("Administrative Tools", false) &&
                ProgmanExecute(item + "Velmora Disk Array Setup Utility)]") &&
                ProgmanExecute(item + "Velmora Failover Agent Monitor)]") &&
                ProgmanExecute(item + "Disk Administrator)]") &&
                ProgmanCreateGroup("Velmora Products and Services", false) &&
                ProgmanExecute(item + "Velmora Deployment Upkeep Utility)]") &&
                ProgmanExecute(item + "Service Partition Refresh Utility)]");
    ProgmanDisconnect();
    return made;
}

TEST(Nt351ServerTest, ProgramManagerItemsGoWithTheProducts) {
    ASSERT_TRUE(GetDesktopWindow());
    MachineLayout layout("sample-server");
    ASSERT_TRUE(MakeGroups());
    const std::string groups = ProgramManagerGroups();
    const std::string tools = groups + "\\Administrative Tools\\";
    const std::string products = groups + "\\Velmora Products and Services";
    ASSERT_TRUE(FileExists(tools + "Velmora Disk Array Setup Utility.lnk"));
    ASSERT_TRUE(FileExists(products + "\\Service Partition Refresh Utility.lnk"));
    FreshFolder(kWork);
    const MachineState before = ServerState();
    ASSERT_TRUE(SetWindowsVersion("nt351"));
    EXPECT_EQ(0, RunOberin("s", kWork));
    ASSERT_TRUE(SetWindowsVersion("nt40"));
    const MachineState after = ServerState();

    EXPECT_EQ(LogLines(Golden("sample-server")),
              LogLines(ReadWholeFile(std::string(kWork) + "\\oberin.log")));
    EXPECT_FALSE(FileExists(tools + "Velmora Disk Array Setup Utility.lnk"));
    EXPECT_FALSE(FileExists(tools + "Velmora Failover Agent Monitor.lnk"));
    EXPECT_TRUE(FileExists(tools + "Disk Administrator.lnk"));
    EXPECT_FALSE(FileExists(products));
    // The adapter services stay on Windows NT 3.51; nothing beside the catalog goes.
    const auto mismatch =
        Mismatch(PathsAt(before, SampleServerRemovals()), ChangesOf(before, after).removed);
    EXPECT_EQ(std::set<std::string>{}, mismatch.second) << "removed beside the catalog";
    EXPECT_TRUE(mismatch.first.count("key HKLM\\SYSTEM\\CurrentControlSet\\Services\\VLMANC1"));
}
}  // namespace
