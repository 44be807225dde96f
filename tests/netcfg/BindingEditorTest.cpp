// The binding editor on binding stores laid out in the machine's registry: the store before,
// whether adapter E100B1 counts as bound, and the store after.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <sstream>

#include "netcfg/NetworkServices.h"
#include "netcfg/ReenableAdapterBindings.h"
#include "netcfg/ServiceBindings.h"
#include "support/ImportPatch.h"
#include "support/RegistryEdit.h"

using namespace std::string_literals;

namespace {
const std::string kServices = "System\\CurrentControlSet\\Services\\";
const std::string kMaker = "SOFTWARE\\VelmoraNetTest";
const char* const kListNames[] = {"Bind", "Export", "Route"};

// Type and bytes of each list value by "<service>\Linkage[\Disabled]\<name>"; REG_NONE: missing.
using Value = std::pair<DWORD, std::string>;
using Store = std::map<std::string, Value>;

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
        std::string lists[6];
        for (int side = 0; words >> device;) {
            if (device == "/") side = 3;
            if (device == "/") continue;
            lists[side] += "\\Device\\" + device + '\0';
            lists[side + 1] += "\\Device\\" + name + "_" + device + '\0';
            lists[side + 2] += "\"" + device + "\"" + '\0';
        }
        for (int list = 0; list < 6; ++list)
            store[name + (list < 3 ? "\\Linkage\\" : "\\Linkage\\Disabled\\") +
                  kListNames[list % 3]] =
                list < 3 || disabled
                    ? Value{type, lists[list] + (lists[list].empty() ? "\0\0"s : "\0"s)}
                    : Value{};
    }
    return store;
}

Store With(Store store, const Store& changes) {
    for (const auto& change : changes) store[change.first] = change.second;
    return store;
}

// Writes the store's values (REG_NONE: left out).
void LayOut(const Store& store) {
    for (const auto& [key, value] : store) {
        const std::string at = key.substr(0, key.rfind('\\')), name = key.substr(at.size() + 1);
        EXPECT_TRUE(value.first == REG_NONE ||
                    WriteValue(HKEY_LOCAL_MACHINE, kServices + at, name, value.first,
                               value.second.data(), DWORD(value.second.size())));
    }
}

// The values of the store's keys as they are now, and the services' keys removed.
Store TakeBack(const Store& store) {
    Store now;
    for (const auto& entry : store) {
        const std::string at = entry.first.substr(0, entry.first.rfind('\\'));
        Value& value = now[entry.first];
        if (!ReadValue(HKEY_LOCAL_MACHINE, kServices + at, entry.first.substr(at.size() + 1),
                       &value.first, &value.second))
            value = Value{};
    }
    for (const auto& entry : store)
        RemoveKey(HKEY_LOCAL_MACHINE, kServices + entry.first.substr(0, entry.first.find('\\')));
    return now;
}

// Lays out before, every service but the teaming transports registered as network software,
// lets the editor run for adapter and compares the store with after: the changed services.
void Expect(const std::string& what, const Store& before, bool bound, const std::string& after,
            const std::string& adapter = "E100B1") {
    LayOut(before);
    for (const auto& entry : before) {
        const std::string service = entry.first.substr(0, entry.first.find('\\'));
        const std::string product = kMaker + "\\Product" + service + "\\CurrentVersion";
        EXPECT_TRUE(service.compare(0, 3, "VLM") == 0 ||
                    (WriteString(HKEY_LOCAL_MACHINE, product, "SoftwareType", "service") &&
                     WriteString(HKEY_LOCAL_MACHINE, product, "ServiceName", service)));
    }
    EXPECT_EQ(bound, ReenableAdapterBindings(adapter)) << what;
    RemoveKey(HKEY_LOCAL_MACHINE, kMaker);
    EXPECT_EQ(With(before, StoreOf(after)), TakeBack(before)) << what;
}

// Refuses the fourth list write: the first after the three lists of one side.
int writes = 0;
ImportPatch* setPatch = nullptr;
LONG WINAPI FourthWriteFails(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                             DWORD size) {
    if (++writes == 4) return ERROR_ACCESS_DENIED;
    return setPatch->Original<decltype(&RegSetValueExA)>()(key, name, reserved, type, data, size);
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
         "OtD*: / E100B1; OtE: / E100B1; OtF*: E100B2 / NetCard2",
         true,
         "OtE: E100B1 /",
         {{"OtB\\Linkage\\Disabled\\Export", {REG_BINARY, "\\Device\\OtB_E100B1\0\0"s}},
          {"OtC\\Linkage\\Route", {REG_BINARY, "\"NetCard1\"\0\0"s}},
          {"OtD\\Linkage\\Disabled\\Bind",
           {REG_BINARY, "\\Device\\E100B1\0\0"s + std::string(1010, 'x')}},
          {"OtF\\Linkage\\Bind", {REG_BINARY, std::string(1024, 'x')}}}},
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
        std::string product, service;  // product below SOFTWARE, sorted as they are enumerated
        const char* softwareType;
        DWORD type;
        bool collected;
    } cases[] = {
        {"Classes\\VelmoraNetTest", "OtClasses", "service", REG_SZ, false},
        {"VelmoraNetTest\\Driver", "OtDriver", "driver", REG_SZ, false},
        {"VelmoraNetTest\\Empty", "", "service", REG_SZ, false},
        {"VelmoraNetTest\\Exact", "NO", "service", REG_SZ, false},
        {"VelmoraNetTest\\Expand", "OtExpand", "service", REG_EXPAND_SZ, false},
        {"VelmoraNetTest\\Lower", "no", "service", REG_SZ, true},
        {"VelmoraNetTest\\Mixed", "OtMixed", "SeRvIcE", REG_SZ, true},
        {"VelmoraNetTest\\NoType", "OtNoType", nullptr, REG_NONE, false},
        {"VelmoraNetTest\\Upper", "OtUpper", "TRANSPORT", REG_SZ, true},
        {"VelmoraNetTest\\vlmntcTRANSPORT", "OtTeaming", "transport", REG_SZ, false},
        // A name of 128 characters ends the enumeration of its key.
        {"VelmoraNetTest\\Zy" + std::string(125, 'x'), "OtLong", "service", REG_SZ, true},
        {"VelmoraNetTest\\Zz" + std::string(126, 'x'), "OtTooLong", "service", REG_SZ, false},
        {"VelmoraNetTest\\Zzz", "OtAfterTooLong", "service", REG_SZ, false},
        {"W" + std::string(127, 'x') + "\\P", "OtLongMaker", "service", REG_SZ, false},
        {"Wz\\P", "OtAfterLongMaker", "service", REG_SZ, false},
    };
    std::vector<std::string> names, expected, collected;
    for (const auto& c : cases) {
        const std::string key = "SOFTWARE\\" + c.product + "\\CurrentVersion";
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, key, "ServiceName", c.service));
        EXPECT_TRUE(!c.softwareType ||
                    WriteValue(HKEY_LOCAL_MACHINE, key, "SoftwareType", c.type, c.softwareType,
                               DWORD(std::strlen(c.softwareType) + 1)));
        names.push_back(c.service);
        if (c.collected) expected.push_back(c.service);
    }
    NetworkServiceList all;
    EXPECT_TRUE(CollectNetworkServices(all));
    for (const std::string& service : all)
        if (std::count(names.begin(), names.end(), service)) collected.push_back(service);
    EXPECT_EQ(expected, collected);
    for (const std::string& maker :
         {"Classes\\VelmoraNetTest"s, "VelmoraNetTest"s, "W" + std::string(127, 'x'), "Wz"s})
        RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + maker);
}

TEST(BindingEditorTest, RandomStoresMoveWholeBindingsInOrder) {
    CPINFO codePage;  // the reference search below is byte-wise: right in a single-byte one
    ASSERT_TRUE(GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize == 1);
    // Names that contain each other, differ in case or carry characters beyond ASCII.
    const std::string devices[] = {"E100B1",       "E100B10",      "e100b1",  "E100B",
                                   "Net\351\3501", "\304\326Card", "NdisWan5"};
    std::mt19937 random(20240601);
    int moved = 0;
    for (int round = 0; round < 150; ++round) {
        const std::string adapter = devices[random() % 7];
        std::string before, after;
        bool bound = false;
        for (int service = 0, services = 1 + random() % 6; service < services; ++service) {
            std::string active, disabled, kept;
            for (std::string* side : {&active, &disabled})
                for (int count = random() % 7; count > 0; --count)
                    *side += " " + devices[random() % 7] + std::to_string(random() % 3);
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

TEST(BindingEditorTest, AFailedWriteLeavesAMovedBindingInBothListsNeverInNone) {
    const Store before = StoreOf("OtFail: Other1 / E100B1");
    LayOut(before);
    {
        ImportPatch patch("advapi32.dll", "RegSetValueExA",
                          reinterpret_cast<void*>(FourthWriteFails));
        ASSERT_TRUE(patch.Active());
        setPatch = &patch;
        EXPECT_FALSE(EnableServiceBindings("E100B1", "OtFail"));
    }
    // Active already and still disabled: the network setup tidies the second copy.
    EXPECT_EQ(StoreOf("OtFail: Other1 E100B1 / E100B1"), TakeBack(before));
}
