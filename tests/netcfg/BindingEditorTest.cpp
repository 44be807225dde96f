// The binding editor on real binding stores in the machine's registry.
#include <gtest/gtest.h>

#include <algorithm>

#include "BindingStore.h"
#include "netcfg/NetworkServices.h"
#include "netcfg/ReenableAdapterBindings.h"
#include "netcfg/ServiceBindings.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kMaker[] = "VelmoraNetTest";
const char kAdapter[] = "E100B1";

std::string ServiceKey(const std::string& service) {
    return "System\\CurrentControlSet\\Services\\" + service;
}

// Lists stored as REG_BINARY: the editor reads them whatever their type, and a value it wrote
// back has become REG_MULTI_SZ.
void WriteUntypedService(const std::string& service, const ServiceLists& lists) {
    WriteEntries(LinkageKey(service), "Bind", lists.bind, REG_BINARY);
    WriteEntries(LinkageKey(service), "Export", lists.exportList, REG_BINARY);
    WriteEntries(LinkageKey(service), "Route", lists.route, REG_BINARY);
    WriteEntries(LinkageKey(service, true), "Bind", lists.disabledBind, REG_BINARY);
    WriteEntries(LinkageKey(service, true), "Export", lists.disabledExport, REG_BINARY);
    WriteEntries(LinkageKey(service, true), "Route", lists.disabledRoute, REG_BINARY);
}

std::vector<RawValue> RawService(const std::string& service) {
    std::vector<RawValue> values;
    for (bool disabled : {false, true})
        for (const char* name : {"Bind", "Export", "Route"})
            values.push_back(ReadRaw(LinkageKey(service, disabled), name));
    return values;
}

// One binding of service to device: its Bind, Export and Route entries.
void AddBinding(Entries& bind, Entries& exportList, Entries& route, const std::string& service,
                const std::string& device) {
    bind.push_back("\\Device\\" + device);
    exportList.push_back("\\Device\\" + service + "_" + device);
    route.push_back("\"" + device + "\"");
}

ServiceLists Bindings(const std::string& service, const std::vector<std::string>& active,
                      const std::vector<std::string>& disabled) {
    ServiceLists lists;
    for (const std::string& device : active)
        AddBinding(lists.bind, lists.exportList, lists.route, service, device);
    for (const std::string& device : disabled)
        AddBinding(lists.disabledBind, lists.disabledExport, lists.disabledRoute, service, device);
    return lists;
}

NetworkServiceList CollectedOf(const std::vector<std::string>& names) {
    NetworkServiceList all, ours;
    EXPECT_TRUE(CollectNetworkServices(all));
    for (const std::string& name : all)
        if (std::find(names.begin(), names.end(), name) != names.end()) ours.push_back(name);
    return ours;
}

class BindingEditorTest : public ::testing::Test {
  protected:
    void TearDown() override {
        DeleteKeys({std::string("SOFTWARE\\") + kMaker, "SOFTWARE\\Classes\\VelmoraNetTest",
                    "SOFTWARE\\AAAVelmoraNetTest", "SOFTWARE\\ZZZVelmoraNetTest",
                    "SOFTWARE\\N" + std::string(127, 'x'), ServiceKey("VLMANCTransport"),
                    ServiceKey("VLMNTCTransport")});
        for (const std::string& service : services_) DeleteKeys({ServiceKey(service)});
    }
    // A network service registered under the test maker, with its lists.
    void AddService(const std::string& service, const ServiceLists& lists) {
        RegisterSoftware(kMaker, "Product" + service, "service", service);
        WriteService(service, lists);
        services_.push_back(service);
    }
    void AddUntypedService(const std::string& service, const ServiceLists& lists) {
        RegisterSoftware(kMaker, "Product" + service, "service", service);
        WriteUntypedService(service, lists);
        services_.push_back(service);
    }
    std::vector<std::string> services_;
};
}  // namespace

TEST_F(BindingEditorTest, MovesTheAdaptersDisabledBindingsAfterTheActiveOnes) {
    AddService("OtNbt", Bindings("OtNbt", {"NetCard1", "E100B1"},
                                 {"E100B2", "E100B1X", "e100b1", "E100B1"}));
    EXPECT_TRUE(ReenableAdapterBindings(kAdapter));
    // The longer device name E100B1X contains the adapter's name and moves too; the name in
    // other letter case does not.
    EXPECT_EQ(Bindings("OtNbt", {"NetCard1", "E100B1", "E100B1X", "E100B1"}, {"E100B2", "e100b1"}),
              ReadService("OtNbt"));
}

TEST_F(BindingEditorTest, EmptiedDisabledListsAreTwoNulsAndUntouchedListsAreRewritten) {
    AddService("OtTcp", Bindings("OtTcp", {"E100B1"}, {"E100B1", "E100B1"}));
    AddUntypedService("OtWins", Bindings("OtWins", {"NetCard1"}, {"NetCard2"}));
    EXPECT_TRUE(ReenableAdapterBindings(kAdapter));
    for (const char* name : {"Bind", "Export", "Route"})
        EXPECT_EQ((RawValue{REG_MULTI_SZ, std::string(2, '\0')}),
                  ReadRaw(LinkageKey("OtTcp", true), name));
    EXPECT_EQ(Bindings("OtTcp", {"E100B1", "E100B1", "E100B1"}, {}), ReadService("OtTcp"));
    // A service without a binding to the adapter keeps its entries, written back as lists.
    EXPECT_EQ(Bindings("OtWins", {"NetCard1"}, {"NetCard2"}), ReadService("OtWins"));
}

TEST_F(BindingEditorTest, WithoutAnActiveBindingNothingIsWritten) {
    AddUntypedService("OtTcp", Bindings("OtTcp", {"NetCard1"}, {"E100B1"}));
    const std::vector<RawValue> before = RawService("OtTcp");
    EXPECT_FALSE(ReenableAdapterBindings(kAdapter));
    EXPECT_EQ(before, RawService("OtTcp"));
}

TEST_F(BindingEditorTest, ATeamingTransportAloneCountsButIsNotEdited) {
    WriteUntypedService("VLMANCTransport", Bindings("VLMANCTransport", {"E100B1"}, {"E100B1"}));
    const std::vector<RawValue> before = RawService("VLMANCTransport");
    EXPECT_TRUE(ReenableAdapterBindings(kAdapter));
    EXPECT_EQ(before, RawService("VLMANCTransport"));

    // The second transport is asked as well.
    DeleteKeys({ServiceKey("VLMANCTransport")});
    WriteService("VLMNTCTransport", Bindings("VLMNTCTransport", {"E100B1"}, {}));
    EXPECT_TRUE(ReenableAdapterBindings(kAdapter));
    DeleteKeys({ServiceKey("VLMNTCTransport")});
    EXPECT_FALSE(ReenableAdapterBindings(kAdapter));
}

TEST_F(BindingEditorTest, AServiceThatCannotBeProcessedStaysAndTheNextIsProcessed) {
    // Collected in key order: the broken services come first.
    ServiceLists noDisabled = Bindings("OtA", {"E100B1"}, {});
    AddService("OtA", noDisabled);
    DeleteKeys({LinkageKey("OtA", true)});
    AddUntypedService("OtB", Bindings("OtB", {"NetCard1"}, {"E100B1", "E100B1"}));
    WriteEntries(LinkageKey("OtB", true), "Export", {"\\Device\\OtB_E100B1"}, REG_BINARY);
    AddUntypedService("OtC", Bindings("OtC", {"NetCard1", "NetCard2"}, {"E100B1"}));
    WriteEntries(LinkageKey("OtC"), "Route", {"\"NetCard1\""}, REG_BINARY);
    AddService("OtD", Bindings("OtD", {}, {"E100B1"}));
    WriteRaw(LinkageKey("OtD", true), "Bind", std::string(1025, 'x'), REG_MULTI_SZ);
    AddService("OtE", Bindings("OtE", {}, {"E100B1"}));
    const std::vector<RawValue> b = RawService("OtB"), c = RawService("OtC"), d = RawService("OtD");

    EXPECT_TRUE(ReenableAdapterBindings(kAdapter));
    EXPECT_FALSE(RegistryKey(LinkageKey("OtA", true)).Exists());
    EXPECT_EQ(Bindings("OtA", {"E100B1"}, {}).bind, ReadEntries(LinkageKey("OtA"), "Bind"));
    EXPECT_EQ(b, RawService("OtB")) << "unequal disabled lists";
    EXPECT_EQ(c, RawService("OtC")) << "unequal active lists";
    EXPECT_EQ(d, RawService("OtD")) << "list larger than the buffer";
    EXPECT_EQ(Bindings("OtE", {"E100B1"}, {}), ReadService("OtE"));
}

TEST_F(BindingEditorTest, ListsThatWouldOutgrowTheirBufferStayAsTheyWere) {
    // Each active list holds 1015 bytes of data; a moved binding would not fit behind them.
    ServiceLists lists = Bindings("OtTcp", {"E100B1"}, {"E100B1", "NetCard2"});
    for (Entries* list : {&lists.bind, &lists.exportList, &lists.route})
        list->push_back(std::string(1015 - (list->front().size() + 1) - 1, 'f'));
    AddUntypedService("OtTcp", lists);
    AddService("OtUdp", Bindings("OtUdp", {}, {"E100B1"}));
    const std::vector<RawValue> before = RawService("OtTcp");
    EXPECT_TRUE(ReenableAdapterBindings(kAdapter));
    EXPECT_EQ(before, RawService("OtTcp"));
    EXPECT_EQ(Bindings("OtUdp", {"E100B1"}, {}), ReadService("OtUdp"));
}

TEST_F(BindingEditorTest, ListsWithoutClosingNulsAreReadToTheirEndOnly) {
    AddService("OtTcp", Bindings("OtTcp", {}, {}));
    // Active lists without any closing NUL, disabled ones without the list's own NUL.
    WriteRaw(LinkageKey("OtTcp"), "Bind", "\\Device\\E100B1", REG_MULTI_SZ);
    WriteRaw(LinkageKey("OtTcp"), "Export", "\\Device\\OtTcp_E100B1", REG_MULTI_SZ);
    WriteRaw(LinkageKey("OtTcp"), "Route", "\"E100B1\"", REG_MULTI_SZ);
    WriteRaw(LinkageKey("OtTcp", true), "Bind", std::string("\\Device\\E100B1\0", 15),
             REG_MULTI_SZ);
    WriteRaw(LinkageKey("OtTcp", true), "Export", std::string("\\Device\\OtTcp_E100B1\0", 21),
             REG_MULTI_SZ);
    WriteRaw(LinkageKey("OtTcp", true), "Route", std::string("\"E100B1\"\0", 9), REG_MULTI_SZ);
    EXPECT_TRUE(ReenableAdapterBindings(kAdapter));
    EXPECT_EQ(Bindings("OtTcp", {"E100B1", "E100B1"}, {}), ReadService("OtTcp"));
    EXPECT_EQ(std::string("\\Device\\E100B1\0\\Device\\E100B1\0\0", 31),
              ReadRaw(LinkageKey("OtTcp"), "Bind").bytes);
}

TEST_F(BindingEditorTest, RegistrationsThatNameNetworkServices) {
    RegisterSoftware(kMaker, "Upper", "TRANSPORT", "OtUpper");
    RegisterSoftware(kMaker, "Mixed", "SeRvIcE", "OtMixed");
    RegisterSoftware(kMaker, "Driver", "driver", "OtDriver");
    RegisterSoftware(kMaker, "Exact", "service", "NO");
    RegisterSoftware(kMaker, "Lower", "service", "no");
    RegisterSoftware(kMaker, "vlmntcTRANSPORT", "transport", "OtTeaming");
    RegisterSoftware(kMaker, "Empty", "service", "");
    RegisterSoftware("Classes\\VelmoraNetTest", "Hidden", "service", "OtClasses");
    RegisterSoftware(kMaker, "Expand", "service", "OtExpand");
    WriteRaw(std::string("SOFTWARE\\") + kMaker + "\\Expand\\CurrentVersion", "SoftwareType",
             std::string("service\0", 8), REG_EXPAND_SZ);

    const NetworkServiceList expected = {"no", "OtMixed", "OtUpper"};
    EXPECT_EQ(expected, CollectedOf({"OtUpper", "OtMixed", "OtDriver", "NO", "no", "OtTeaming", "",
                                     "OtClasses", "OtExpand"}));
    EXPECT_EQ("NO", GetNetworkComponentService(std::string("SOFTWARE\\") + kMaker +
                                               "\\Missing\\CurrentVersion"));
    EXPECT_EQ("OtUpper", GetNetworkComponentService(std::string("SOFTWARE\\") + kMaker +
                                                    "\\Upper\\CurrentVersion"));
}

TEST_F(BindingEditorTest, ANameOf128CharactersEndsItsEnumeration) {
    const std::string maker = "AAAVelmoraNetTest";
    RegisterSoftware(maker, "P1", "service", "OtP1");
    RegisterSoftware(maker, "P2" + std::string(125, 'x'), "service", "OtP2");
    RegisterSoftware(maker, "P3" + std::string(126, 'x'), "service", "OtP3");
    RegisterSoftware(maker, "P4", "service", "OtP4");
    RegisterSoftware("N" + std::string(127, 'x'), "P", "service", "OtLongMaker");
    RegisterSoftware("ZZZVelmoraNetTest", "P", "service", "OtAfterLongMaker");
    const NetworkServiceList expected = {"OtP1", "OtP2"};
    EXPECT_EQ(expected,
              CollectedOf({"OtP1", "OtP2", "OtP3", "OtP4", "OtLongMaker", "OtAfterLongMaker"}));
}

TEST_F(BindingEditorTest, EveryOneOfManyServicesIsProcessed) {
    for (int index = 0; index < 120; ++index) {
        char name[16];
        std::snprintf(name, sizeof name, "OtMany%03d", index);
        AddService(name, Bindings(name, {}, {"E100B1", "NetCard2"}));
    }
    // No service binds actively yet: nothing happens.
    EXPECT_FALSE(ReenableAdapterBindings(kAdapter));
    EXPECT_EQ(Bindings("OtMany119", {}, {"E100B1", "NetCard2"}), ReadService("OtMany119"));
    // The first one gets an active binding: every service is processed.
    WriteService("OtMany000", Bindings("OtMany000", {"E100B1"}, {"E100B1", "NetCard2"}));
    EXPECT_TRUE(ReenableAdapterBindings(kAdapter));
    EXPECT_EQ(Bindings("OtMany000", {"E100B1", "E100B1"}, {"NetCard2"}), ReadService("OtMany000"));
    for (int index = 1; index < 120; ++index) {
        char name[16];
        std::snprintf(name, sizeof name, "OtMany%03d", index);
        EXPECT_EQ(Bindings(name, {"E100B1"}, {"NetCard2"}), ReadService(name)) << name;
    }
}
