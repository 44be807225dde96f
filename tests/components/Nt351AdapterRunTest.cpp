// A silent run on Windows NT 3.51 over both adapter applets: the Tessnet3 adapters are reset
// and the virtual adapter entries go, but no adapter service is deleted and the Intel applet
// only drops its Run values.
#include <gtest/gtest.h>

#include "support/AdapterMachine.h"
#include "support/NetworkSetupStandIn.h"

TEST(Nt351AdapterRunTest, SilentRunOnNt351) {
    LayOutAdapterMachine();
    const std::string work = FreshFolder("C:\\nt351run");
    ASSERT_TRUE(InstallNetworkSetupStandIn());
    {
        TestDriver teaming("VLMNTC");
        ASSERT_TRUE(SetWindowsVersion("nt351"));
        const MachineState before = AdapterMachineState();
        EXPECT_EQ(0, RunOberin("s", work));
        const Changes changes = ChangesBetween(before, AdapterMachineState());
        ASSERT_TRUE(SetWindowsVersion("nt40"));

        EXPECT_EQ((std::set<std::string>{ServiceKey("VLMTN31\\Parameters\\VLMANCTransport"),
                                         AdapterListEntry("4"), AdapterListEntry("5"),
                                         AdapterListEntry("6"),
                                         "hklm\\software\\velmora\\vlmanctransport",
                                         "hklm\\software\\velmora\\vlmanctransport\\teams"}),
                  changes.removedKeys);
        EXPECT_EQ((std::set<std::string>{ServiceKey("VLMTN32\\Parameters")}), changes.addedKeys);
        // The Tessnet3 adapter asked for the network setup, which ran once after the log.
        const std::string recorded = NetworkSetupCalls();
        EXPECT_EQ(1, std::count(recorded.begin(), recorded.end(), '\n')) << recorded;
        EXPECT_NE(std::string::npos, recorded.find("|NCPA|/t STF_INSTALL_MODE = EXPRESS|"));
        EXPECT_TRUE(changes.removedFiles.count(SystemFile("VLMNTLX.CPL")));
        EXPECT_TRUE(changes.removedFiles.count(SystemFile("ntlxmon.exe")));
        EXPECT_TRUE(changes.removedFiles.count(SystemFile("vlmttlx.exe")));
    }
    RemoveNetworkSetupStandIn();
    ClearAdapterMachine();
}
