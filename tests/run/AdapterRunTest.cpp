// A whole silent run on an NT 4.0 machine with both adapter applets, teaming adapters and
// disabled bindings: the teaming entries go and the bindings the applets reach are active again.
// The closing network setup call is checked on the sample server and by the run tests.
#include <gtest/gtest.h>

#include "sysaccess/ProgramsFolders.h"
#include "support/AdapterMachine.h"

namespace {
using Keys = std::set<std::string>;
}

TEST(AdapterRunTest, SilentRunRemovesTeamingAndRebinds) {
    LayOutAdapterMachine();
    const std::string work = FreshFolder("C:\\adapterrun");
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
    ClearAdapterMachine();
}
