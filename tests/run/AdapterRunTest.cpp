// A whole silent run on an NT 4.0 machine with both adapter applets, teaming adapters and
// disabled bindings: the catalog's last entries and the closing network setup.
#include <gtest/gtest.h>

#include <algorithm>

#include "sysaccess/ProgramsFolders.h"
#include "support/AdapterMachine.h"
#include "support/NetworkSetupStandIn.h"

namespace {
using Keys = std::set<std::string>;
}

TEST(AdapterRunTest, SilentRunRemovesTeamingRebindsAndEndsWithTheNetworkSetup) {
    LayOutAdapterMachine();
    const std::string work = FreshFolder("C:\\adapterrun");
    ASSERT_TRUE(InstallNetworkSetupStandIn());
    {
        TestDriver ancTeaming("VLMANC");
        TestDriver ntcTeaming("VLMNTC");
        const MachineState before = AdapterMachineState();
        EXPECT_EQ(0, RunOberin("s", work));
        const Changes changes = ChangesBetween(before, AdapterMachineState());

        Keys expected = VirtualAdapters();
        for (const char* key : {"VLMANC", "VLMNTC", "VLMTN31\\Parameters\\VLMANCTransport"})
            expected.insert(ServiceKey(key));
        for (const std::string& key : TeamingParameters({"E100B1", "E100B2", "E1000A1"}))
            expected.insert(key);
        EXPECT_EQ(expected, changes.removedKeys);
        EXPECT_EQ((Keys{ServiceKey("VLMTN32\\Parameters")}), changes.addedKeys);
        // Every adapter's disabled bindings are active again; N1000 and unrelated ones stay.
        EXPECT_EQ(
            (std::vector<std::string>{"\\Device\\E100B1", "\\Device\\E100B2", "\\Device\\VLMTN31",
                                      "\\Device\\VLMTN31", "\\Device\\E100B1", "\\Device\\E100B2"}),
            TransportBindings(false));
        EXPECT_EQ((std::vector<std::string>{"\\Device\\E1000A1", "\\Device\\Other1"}),
                  TransportBindings(true));
        EXPECT_TRUE(
            changes.removedFiles.count(Folded(CommonProgramsFolder() + "\\Velmora System Tools")));
    }
    const std::string log = ReadWholeFile(work + "\\oberin.log");
    EXPECT_NE(std::string::npos, log.find("Tessnet3 control panel applet\r\n"));
    EXPECT_NE(std::string::npos, log.find("Intel NIC control panel applet\r\n"));
    const std::string recorded = NetworkSetupCalls();
    EXPECT_EQ(1, std::count(recorded.begin(), recorded.end(), '\n')) << recorded;
    EXPECT_NE(std::string::npos,
              recorded.find("|NCPA|/t STF_INSTALL_MODE = EXPRESS|window=Static|Oberin|"))
        << recorded;
    EXPECT_NE(std::string::npos, recorded.find("|log=" + std::to_string(log.size()) + "|"))
        << recorded;
    RemoveNetworkSetupStandIn();
    ClearAdapterMachine();
}
