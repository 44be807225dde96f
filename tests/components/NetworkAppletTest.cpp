// The two adapter applets on a machine with teaming adapters, bindings and monitor programs.
#include <gtest/gtest.h>

#include "support/AdapterMachine.h"
#include "components/IntelNicApplet.h"
#include "components/Tessnet3Applet.h"
#include "run/NetworkSetup.h"

namespace {
using Keys = std::set<std::string>;

const std::string kRun = "hklm\\software\\microsoft\\windows\\currentversion\\run";

Keys Union(std::initializer_list<Keys> parts) {
    Keys all;
    for (const Keys& part : parts) all.insert(part.begin(), part.end());
    return all;
}

// Removed values that do not belong to a removed key.
Keys LooseValues(const Changes& changes) {
    Keys loose;
    for (const std::string& value : changes.removedValues)
        if (!changes.removedKeys.count(value.substr(0, value.find("\\\\")))) loose.insert(value);
    return loose;
}

const Keys& RunValues() {
    static const Keys values = {ValuePath(kRun, "NTLXMON"), ValuePath(kRun, "TTLXMON")};
    return values;
}

// The Bind, Export and Route values of the test transport, active and disabled.
Keys TransportLists() {
    Keys values;
    for (const char* key : {"OtNbt\\Linkage", "OtNbt\\Linkage\\Disabled"})
        for (const char* name : {"Bind", "Export", "Route"})
            values.insert(ValuePath(ServiceKey(key), name));
    return values;
}

class NetworkAppletTest : public ::testing::Test {
  protected:
    void SetUp() override {
        NetworkSetupPending = false;
        LayOutAdapterMachine();
    }
    void TearDown() override { ClearAdapterMachine(); }
};
}  // namespace

TEST_F(NetworkAppletTest, IntelAppletRemovesTeamingAndBringsN100BindingsBack) {
    TestDriver teaming("VLMANC");
    const MachineState before = AdapterMachineState();
    EXPECT_TRUE(IntelNicApplet().Remove());
    const Changes changes = ChangesBetween(before, AdapterMachineState());

    EXPECT_TRUE(NetworkSetupPending);
    // Both N100 adapters (one spelt "n100"), the N1000 adapter without re-enabling, and both
    // neighbouring VLMANC entries.
    EXPECT_EQ(Union({TeamingParameters({"E100B1", "E100B2", "E1000A1"}),
                     VirtualAdapters(),
                     {ServiceKey("VLMANC")}}),
              changes.removedKeys);
    EXPECT_EQ(Union({RunValues(), TransportLists()}), LooseValues(changes));
    EXPECT_EQ(TransportLists(), changes.addedValues);
    EXPECT_TRUE(changes.addedKeys.empty());
    EXPECT_EQ((std::vector<std::string>{"\\Device\\E100B1", "\\Device\\E100B2", "\\Device\\VLMTN31",
                                        "\\Device\\E100B1", "\\Device\\E100B2"}),
              TransportBindings(false));
    EXPECT_EQ(
        (std::vector<std::string>{"\\Device\\E1000A1", "\\Device\\VLMTN31", "\\Device\\Other1"}),
        TransportBindings(true));
    EXPECT_EQ((Keys{SystemFile("VLMNTLX.CPL"), SystemFile("vlmset.cpl"), SystemFile("ntlxmon.exe"),
                    ToolsShortcut("Velmora Network.lnk")}),
              changes.removedFiles);
}

TEST_F(NetworkAppletTest, IntelAppletWithoutTeamingServiceOnlyDropsTheRunValues) {
    const MachineState before = AdapterMachineState();
    EXPECT_TRUE(IntelNicApplet().FinalStage());
    const Changes changes = ChangesBetween(before, AdapterMachineState());
    EXPECT_FALSE(NetworkSetupPending);
    EXPECT_TRUE(changes.removedKeys.empty());
    EXPECT_EQ(RunValues(), changes.removedValues);
    EXPECT_TRUE(changes.addedValues.empty());
}

TEST_F(NetworkAppletTest, TessnetAppletResetsVlmtn3AdaptersAndRemovesVirtualAdapters) {
    TestDriver teaming("VLMNTC");
    const MachineState before = AdapterMachineState();
    EXPECT_TRUE(Tessnet3Applet().Remove());
    const Changes changes = ChangesBetween(before, AdapterMachineState());

    EXPECT_TRUE(NetworkSetupPending);
    // The teaming service itself stays: only the adapter list leads to services here.
    EXPECT_EQ(Union({VirtualAdapters(), {ServiceKey("VLMTN31\\Parameters\\VLMANCTransport")}}),
              changes.removedKeys);
    Keys secondary;
    for (const char* name :
         {"SecondaryEisaCompressedId", "SecondaryDuplex", "SecondaryConnector",
          "SecondaryMediaSpeed", "SecondarySlotNumber", "SecondaryBusNumber", "SecondaryBusType",
          "SecondaryPhyType", "SecondaryIrq", "SecondaryIoSpaceLength", "SecondaryIoBaseAddress",
          "SecondaryDeviceFunctionNumber", "SecondaryPortNumber", "SecondaryMediaType",
          "SecondaryRemoteWakeUpEnable", "OperatingMode"})
        secondary.insert(ValuePath(ServiceKey("VLMTN31\\Parameters"), name));
    EXPECT_EQ(Union({RunValues(), TransportLists(), secondary}), LooseValues(changes));
    // A VLMTN3 adapter without parameters gets them, with OperatingMode 0.
    EXPECT_EQ((Keys{ServiceKey("VLMTN32\\Parameters")}), changes.addedKeys);
    EXPECT_EQ(Union({TransportLists(),
                     {ValuePath(ServiceKey("VLMTN31\\Parameters"), "OperatingMode"),
                      ValuePath(ServiceKey("VLMTN32\\Parameters"), "OperatingMode")}}),
              changes.addedValues);
    const MachineState after = AdapterMachineState();
    EXPECT_TRUE(after.count("value " + std::string("HKLM\\SYSTEM\\CurrentControlSet\\Services") +
                            "\\VLMTN32\\Parameters\\\\OperatingMode=4:00000000"));
    EXPECT_EQ((std::vector<std::string>{"\\Device\\E100B1", "\\Device\\E100B2", "\\Device\\VLMTN31",
                                        "\\Device\\VLMTN31"}),
              TransportBindings(false));
    // The files of the other applet stay.
    EXPECT_EQ((Keys{SystemFile("tessnt3.cpl"), SystemFile("vlmttlx.cpl"), SystemFile("vlmttlx.exe"),
                    ToolsShortcut("Velmora Net.lnk"), ToolsShortcut("Velmora Network.lnk"),
                    ToolsShortcut("Velmora TLAN Network.lnk")}),
              changes.removedFiles);
}
