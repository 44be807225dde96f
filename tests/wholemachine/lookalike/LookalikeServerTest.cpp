// A silent run on the look-alike server: the sample server with neighbours beside every
// catalog item. Exactly the sample server's items go; every neighbour keeps its data.
#include <gtest/gtest.h>

#include "run/SystemQueries.h"
#include "support/NetworkSetupStandIn.h"
#include "support/RegistryEdit.h"
#include "support/ServerCatalog.h"

namespace {
const char kWork[] = "C:\\server";
const char kRecord[] = "C:\\lookalike-ran.txt";

// Values too large for a fixture file: a product name and an environment value of 256 KB.
void AddHugeValues() {
    const std::string huge = "VLMANC" + std::string(256 * 1024, 'x');
    WriteString(HKEY_LOCAL_MACHINE,
                "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\34", "ProductName",
                huge);
    WriteString(HKEY_LOCAL_MACHINE,
                "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "PATROL_BIG",
                huge);
}

// Some of the neighbours, to show the layout made them.
std::vector<std::string> Neighbours() {
    const std::string uninstall = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const std::string agents =
        "HKLM\\SYSTEM\\CurrentControlSet\\Services\\SNMP\\Parameters\\ExtensionAgents\\\\";
    std::vector<std::string> places = {
        uninstall + "VDUU_Binary", uninstall + "VDUU_NoNul",
        "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\34\\\\ProductName",
        "HKLM\\SYSTEM\\CurrentControlSet\\Services\\LookN1001\\Parameters\\VLMANCTransport",
        SystemDirectory() + "VLMLCD2.EXE"};
    for (std::size_t length : {127, 128, 255}) {
        places.push_back(uninstall + "VDUU_Long" + std::string(length - 9, 'x'));
        places.push_back(agents + "VLMSNMP" + std::string(length - 7, 'x'));
    }
    return places;
}

TEST(LookalikeServerTest, OnlyTheCatalogsItemsGo) {
    InstallNetworkSetupStandIn();
    MachineLayout layout("lookalike-server");
    AddHugeValues();
    FreshFolder(kWork);
    const MachineState before = ServerState();
    ASSERT_EQ(std::vector<std::string>{}, PlacesMissing(before, SampleServerRemovals()));
    ASSERT_EQ(std::vector<std::string>{}, PlacesMissing(before, Neighbours()));
    EXPECT_EQ(0, RunOberin("s", kWork));
    const MachineState after = ServerState();

    EXPECT_EQ(LogLines(Golden("lookalike-server")),
              LogLines(ReadWholeFile(std::string(kWork) + "\\oberin.log")));
    const ServerChanges changes = ChangesOf(before, after);
    const auto removed = Mismatch(PathsAt(before, SampleServerRemovals()), changes.removed);
    EXPECT_EQ(std::set<std::string>{}, removed.first) << "left in place";
    EXPECT_EQ(std::set<std::string>{}, removed.second) << "removed beside the catalog";
    std::set<std::string> rewritten = PathsAt(before, SampleServerRewrites());
    const std::set<std::string> restartList = RestartList(before);
    rewritten.insert(restartList.begin(), restartList.end());
    EXPECT_EQ(rewritten, changes.rewritten);
    // Nothing appears but the restart list, the Tessnet3 adapter's new parameters and the
    // network setup's record.
    std::set<std::string> added;
    for (const std::string& path : changes.added)
        if (path.compare(0, 8, "pending ") != 0) added.insert(path);
    std::set<std::string> expected = PathsAt(after, SampleServerCreations());
    const std::set<std::string> newList = RestartList(after);
    expected.insert(newList.begin(), newList.end());
    expected.insert("file " + NetworkSetupRecord());
    EXPECT_EQ(expected, added);
    // No uninstaller of another product ran.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(kRecord));
}
}  // namespace
