// The last catalog entry: the failover agent monitor's leftovers, the shared tools folder and
// the teaming transport services.
#include <gtest/gtest.h>

#include "support/AdapterMachine.h"
#include "components/FailoverAgentTransports.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgramsFolders.h"
#include "sysaccess/RegistryKey.h"

namespace {
class FailoverAgentTransportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearAdapterMachine();
        for (const char* key : {"SOFTWARE\\Velmora\\VLMNTSWK\\Settings",
                                "SYSTEM\\CurrentControlSet\\Services\\VLMNTCTransport\\Linkage",
                                "SYSTEM\\CurrentControlSet\\Services\\VLMANCTransport\\Parameters"})
            ASSERT_TRUE(RegistryKey(key).SetDword("Kept", 1));
    }
    void TearDown() override { ClearAdapterMachine(); }
};
}  // namespace

TEST_F(FailoverAgentTransportsTest, RemovesEverythingAndTheEmptiedToolsFolder) {
    MachineLayout layout("adapter-teaming");
    for (const char* shortcut :
         {"Velmora Net.lnk", "Velmora Network.lnk", "Velmora TLAN Network.lnk"})
        DeleteFileA((CommonProgramsFolder() + "\\Velmora System Tools\\" + shortcut).c_str());
    const MachineState before = AdapterMachineState();
    EXPECT_TRUE(FailoverAgentTransports().Remove());
    const Changes changes = ChangesBetween(before, AdapterMachineState());
    const std::string programs = CommonProgramsFolder();
    EXPECT_EQ((std::set<std::string>{
                  SystemFile("FOADMIN.CPL"), SystemFile("FOADMIN.HLP"), SystemFile("FOAMON.HLP"),
                  Folded(programs + "\\Velmora System Tools"),
                  Folded(programs + "\\Administrative Tools (Common)\\Velmora Failover Agent "
                                    "Monitor.lnk")}),
              changes.removedFiles);
    for (const char* key :
         {"SOFTWARE\\Velmora\\VLMNTSWK", "SYSTEM\\CurrentControlSet\\Services\\VLMNTCTransport",
          "SYSTEM\\CurrentControlSet\\Services\\VLMANCTransport"})
        EXPECT_FALSE(RegistryKey(key).Exists()) << key;
    EXPECT_TRUE(RegistryKey("SOFTWARE\\Velmora\\Other").Exists());
}

TEST_F(FailoverAgentTransportsTest, AToolsFolderThatStillHoldsAFileStays) {
    const std::string folder = CommonProgramsFolder() + "\\Velmora System Tools";
    MachineLayout layout("clean");
    layout.Add("file " + folder + "\\Readme.txt");
    EXPECT_TRUE(FailoverAgentTransports().Remove());
    EXPECT_TRUE(FileExists(folder + "\\Readme.txt"));
    EXPECT_FALSE(RegistryKey("SOFTWARE\\Velmora\\VLMNTSWK").Exists());
}

TEST_F(FailoverAgentTransportsTest, NothingThereStillSucceeds) {
    ClearAdapterMachine();
    RegistryKey("SOFTWARE\\Velmora").DeleteTree();
    EXPECT_TRUE(FailoverAgentTransports().Remove());
}
