// The binding editor on binding stores laid out in the machine's registry: the store before,
// whether adapter E100B1 counts as bound, and the store after.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

#include "netcfg/NetworkServices.h"
#include "netcfg/ReenableAdapterBindings.h"
#include "support/RegistryEdit.h"

using namespace std::string_literals;

namespace {
const std::string kServices = "System\\CurrentControlSet\\Services\\";
const std::string kMaker = "SOFTWARE\\VelmoraNetTest";
const char* const kListNames[] = {"Bind", "Export", "Route"};

// Type and bytes of each list value by "<service>\Linkage[\Disabled]\<name>"; REG_NONE: missing.
using Value = std::pair<DWORD, std::string>;
using Store = std::map<std::string, Value>;

std::string ListOf(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const std::string& entry : entries) bytes += entry + '\0';
    return bytes + (entries.empty() ? "\0\0"s : "\0"s);
}

// Services separated by ";", each "<name>: <active devices> / <disabled devices>", every device
// with its Bind, Export and Route entry; without "/" there are no disabled lists, with "*" after
// the name the lists are REG_BINARY.
Store StoreOf(const std::string& text) {
    Store store;
    std::istringstream services(text);
    for (std::string service, name, device; std::getline(services, service, ';');) {
        std::istringstream words(service);
        if (!(words >> name)) continue;
        name.pop_back();
        const DWORD type = name.back() == '*' ? REG_BINARY : REG_MULTI_SZ;
        if (type == REG_BINARY) name.pop_back();
        const bool disabled = service.find('/') != std::string::npos;
        std::vector<std::string> lists[6];
        for (int side = 0; words >> device;) {
            if (device == "/") side = 3;
            if (device == "/") continue;
            lists[side].push_back("\\Device\\" + device);
            lists[side + 1].push_back("\\Device\\" + name + "_" + device);
            lists[side + 2].push_back("\"" + device + "\"");
        }
        for (int list = 0; list < 6; ++list)
            store[name + (list < 3 ? "\\Linkage\\" : "\\Linkage\\Disabled\\") +
                  kListNames[list % 3]] =
                list < 3 || disabled ? Value{type, ListOf(lists[list])} : Value{};
    }
    return store;
}

Store With(Store store, const Store& changes) {
    for (const auto& change : changes) store[change.first] = change.second;
    return store;
}

// Lays out before, every service but the teaming transports registered as network software,
// lets the editor run for adapter and compares the store with after: the changed services.
void Expect(const std::string& what, const Store& before, bool bound, const std::string& after,
            const std::string& adapter = "E100B1") {
    for (const auto& [key, value] : before) {
        const std::string service = key.substr(0, key.find('\\')),
                          at = key.substr(0, key.rfind('\\'));
        const std::string product = kMaker + "\\Product" + service + "\\CurrentVersion";
        if (value.first != REG_NONE)
            ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kServices + at, key.substr(at.size() + 1),
                                   value.first, value.second.data(),
                                   static_cast<DWORD>(value.second.size())));
        if (service.compare(0, 3, "VLM") != 0)
            ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, product, "SoftwareType", "service") &&
                        WriteString(HKEY_LOCAL_MACHINE, product, "ServiceName", service));
    }
    EXPECT_EQ(bound, ReenableAdapterBindings(adapter)) << what;
    Store now;
    for (const auto& entry : before) {
        const std::string at = entry.first.substr(0, entry.first.rfind('\\'));
        Value& value = now[entry.first];
        if (!ReadValue(HKEY_LOCAL_MACHINE, kServices + at, entry.first.substr(at.size() + 1),
                       &value.first, &value.second))
            value = Value{};
    }
    RemoveKey(HKEY_LOCAL_MACHINE, kMaker);
    for (const auto& entry : before)
        RemoveKey(HKEY_LOCAL_MACHINE, kServices + entry.first.substr(0, entry.first.find('\\')));
    EXPECT_EQ(With(before, StoreOf(after)), now) << what;
}
}  // namespace

TEST(BindingEditorTest, Cases) {
    // Active lists filled up to the byte (Export: "fits") or one beyond it (Export: "over")
    // once a binding of E100B1 is moved behind them; Bind and Route would still have room.
    const std::string fits(966, 'f'), over(967, 'f');
    const struct {
        const char* what;
        std::string before;
        bool bound;
        std::string after;
        Store raw = {};  // values written as they are, over the lists of before
    } cases[] = {
        {"moved behind the active ones: a longer name too, one in other case not",
         "OtNbt: NetCard1 E100B1 / E100B2 E100B1X e100b1 E100B1", true,
         "OtNbt: NetCard1 E100B1 E100B1X E100B1 / E100B2 e100b1"},
        {"emptied lists are two NULs, lists without the adapter are rewritten as lists",
         "OtTcp: E100B1 / E100B1 E100B1; OtWins*: NetCard1 / NetCard2", true,
         "OtTcp: E100B1 E100B1 E100B1 /; OtWins: NetCard1 / NetCard2"},
        {"without an active binding", "OtTcp*: NetCard1 / E100B1", false, ""},
        {"a teaming transport counts", "VLMANCTransport*: E100B1 / E100B1", true, ""},
        {"the second one too", "VLMNTCTransport: E100B1 /", true, ""},
        {"without disabled lists, with unequal lists or a list beyond its buffer a service stays",
         "OtA: E100B1; OtB*: NetCard1 / E100B1 E100B1; OtC*: NetCard1 NetCard2 / E100B1;"
         "OtD*: / E100B1; OtE: / E100B1",
         true,
         "OtE: E100B1 /",
         {{"OtB\\Linkage\\Disabled\\Export", {REG_BINARY, "\\Device\\OtB_E100B1\0\0"s}},
          {"OtC\\Linkage\\Route", {REG_BINARY, "\"NetCard1\"\0\0"s}},
          {"OtD\\Linkage\\Disabled\\Bind", {REG_BINARY, std::string(1025, 'x')}}}},
        {"lists that would outgrow their buffer stay",
         "OtTcp*: E100B1 " + over + " / E100B1 NetCard2; OtUdp: / E100B1", true, "OtUdp: E100B1 /"},
        {"lists that just fit", "OtTcp: E100B1 " + fits + " / E100B1 NetCard2", true,
         "OtTcp: E100B1 " + fits + " E100B1 / NetCard2"},
        {"lists without closing NULs are read to their end only",
         "OtTcp: /",
         true,
         "OtTcp: E100B1 E100B1 /",
         {{"OtTcp\\Linkage\\Bind", {REG_MULTI_SZ, "\\Device\\E100B1"}},
          {"OtTcp\\Linkage\\Export", {REG_MULTI_SZ, "\\Device\\OtTcp_E100B1"}},
          {"OtTcp\\Linkage\\Route", {REG_MULTI_SZ, "\"E100B1\""}},
          {"OtTcp\\Linkage\\Disabled\\Bind", {REG_MULTI_SZ, "\\Device\\E100B1\0"s}},
          {"OtTcp\\Linkage\\Disabled\\Export", {REG_MULTI_SZ, "\\Device\\OtTcp_E100B1\0"s}},
          {"OtTcp\\Linkage\\Disabled\\Route", {REG_MULTI_SZ, "\"E100B1\"\0"s}}}},
    };
    for (const auto& c : cases) Expect(c.what, With(StoreOf(c.before), c.raw), c.bound, c.after);

    // Every one of many services is asked and edited, the last one the only bound one.
    std::string many, manyAfter;
    for (int index = 1000; index < 1120; ++index) {
        const std::string name = "OtMany" + std::to_string(index);
        many += name + (index == 1119 ? ": E100B1" : ":") + " / E100B1 NetCard2;";
        manyAfter += name + (index == 1119 ? ": E100B1 E100B1" : ": E100B1") + " / NetCard2;";
    }
    Expect("120 services", StoreOf(many), true, manyAfter);
}

TEST(BindingEditorTest, RegistrationsThatNameNetworkServices) {
    const struct {
        std::string product;  // below SOFTWARE, sorted as they are enumerated
        const char* softwareType;
        DWORD type;
        std::string service;
        bool collected;
    } cases[] = {
        {"Classes\\VelmoraNetTest\\Hidden", "service", REG_SZ, "OtClasses", false},
        {"VelmoraNetTest\\Driver", "driver", REG_SZ, "OtDriver", false},
        {"VelmoraNetTest\\Empty", "service", REG_SZ, "", false},
        {"VelmoraNetTest\\Exact", "service", REG_SZ, "NO", false},
        {"VelmoraNetTest\\Expand", "service", REG_EXPAND_SZ, "OtExpand", false},
        {"VelmoraNetTest\\Lower", "service", REG_SZ, "no", true},
        {"VelmoraNetTest\\Mixed", "SeRvIcE", REG_SZ, "OtMixed", true},
        {"VelmoraNetTest\\NoType", nullptr, REG_NONE, "OtNoType", false},
        {"VelmoraNetTest\\Upper", "TRANSPORT", REG_SZ, "OtUpper", true},
        {"VelmoraNetTest\\vlmntcTRANSPORT", "transport", REG_SZ, "OtTeaming", false},
        // A name of 128 characters ends the enumeration of its key.
        {"VelmoraNetTest\\Zy" + std::string(125, 'x'), "service", REG_SZ, "OtLong", true},
        {"VelmoraNetTest\\Zz" + std::string(126, 'x'), "service", REG_SZ, "OtTooLong", false},
        {"VelmoraNetTest\\Zzz", "service", REG_SZ, "OtAfterTooLong", false},
        {"W" + std::string(127, 'x') + "\\P", "service", REG_SZ, "OtLongMaker", false},
        {"Wz\\P", "service", REG_SZ, "OtAfterLongMaker", false},
    };
    std::vector<std::string> names, expected, collected;
    for (const auto& c : cases) {
        const std::string key = "SOFTWARE\\" + c.product + "\\CurrentVersion";
        const std::string type = c.softwareType ? c.softwareType + "\0"s : "";
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, key, "ServiceName", c.service));
        if (c.softwareType)
            ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, key, "SoftwareType", c.type, type.data(),
                                   static_cast<DWORD>(type.size())));
        names.push_back(c.service);
        if (c.collected) expected.push_back(c.service);
    }
    NetworkServiceList all;
    EXPECT_TRUE(CollectNetworkServices(all));
    for (const std::string& service : all)
        if (std::find(names.begin(), names.end(), service) != names.end())
            collected.push_back(service);
    EXPECT_EQ(expected, collected);
    for (const auto& c : cases)
        RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + c.product.substr(0, c.product.find('\\')));
}

TEST(BindingEditorTest, RandomStoresMoveWholeBindingsInOrder) {
    // The reference search below is byte-wise: right for a single-byte code page.
    CPINFO codePage;
    ASSERT_TRUE(GetCPInfo(CP_ACP, &codePage));
    ASSERT_EQ(1u, codePage.MaxCharSize);
    // Names that contain each other, differ in case or carry characters beyond ASCII.
    const std::string devices[] = {"E100B1",       "E100B10",      "e100b1",  "E100B",
                                   "Net\351\3501", "\304\326Card", "NdisWan5"};
    std::mt19937 random(20240601);
    int moved = 0;
    for (int round = 0; round < 150; ++round) {
        const std::string adapter = devices[random() % std::size(devices)];
        std::string before, after;
        bool bound = false;
        for (int service = 0, services = 1 + random() % 6; service < services; ++service) {
            std::string active, disabled, kept;
            for (std::string* side : {&active, &disabled})
                for (int count = random() % 7; count > 0; --count)
                    *side +=
                        " " + devices[random() % std::size(devices)] + std::to_string(random() % 3);
            bound = bound || active.find(adapter) != std::string::npos;
            const std::string name = "; OtRandom" + std::to_string(service) + ":";
            before += name + active + " /" + disabled;
            std::istringstream words(disabled);
            for (std::string device; words >> device;)
                (device.find(adapter) != std::string::npos ? active : kept) += " " + device;
            after += name + active + " /" + kept;
        }
        moved += bound && before != after;
        Expect("round " + std::to_string(round), StoreOf(before), bound, bound ? after : "",
               adapter);
        if (HasFailure()) return;
    }
    EXPECT_GT(moved, 50);
}
