// The binding editor on stores in the registry and the registrations it takes services from.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>

#include "netcfg/NetcfgCases.h"
#include "netcfg/NetworkServices.h"
#include "netcfg/ReenableAdapterBindings.h"
#include "netcfg/ServiceBindings.h"
#include "support/ImportPatch.h"
#include "support/RegistryEdit.h"

namespace {
const std::string kServices = "System\\CurrentControlSet\\Services\\";
const std::string kMaker = "SOFTWARE\\VelmoraNetTest";
const char* const kListNames[] = {"Bind", "Export", "Route"};

// List values by key below Services and name: their type (REG_NONE: missing) and bytes.
using Value = std::pair<DWORD, std::string>;
using Store = std::map<std::pair<std::string, std::string>, Value>;

Store StoreOf(const std::string& text) {
    Store store;
    std::istringstream services(text);
    for (std::string service, name, device; std::getline(services, service, ';');) {
        std::istringstream words(service);
        if (!(words >> name) || name.back() != ':') continue;
        const DWORD type = name.find('*') != std::string::npos ? REG_BINARY : REG_MULTI_SZ;
        name.erase(name.find_first_of("*:"));
        const bool disabled = service.find('/') != std::string::npos;
        std::string lists[6];
        for (int side = 0; words >> device;) {
            if (device == "/") side = 3;
            if (device == "/") continue;
            lists[side] += "\\Device\\" + device + '\0';
            lists[side + 1] += "\\Device\\" + name + "_" + device + '\0';
            lists[side + 2] += "\"" + device + "\"" + '\0';
        }
        for (int list = 0; list < 6; ++list)  // closed by one more NUL, an empty list by two
            store[{name + (list < 3 ? "\\Linkage" : "\\Linkage\\Disabled"), kListNames[list % 3]}] =
                list < 3 || disabled ? Value{type, lists[list].append(1 + lists[list].empty(), 0)}
                                     : Value{};
    }
    return store;
}

// Writes the store's values (REG_NONE: left out).
void LayOut(const Store& store) {
    for (const auto& [at, value] : store)
        EXPECT_TRUE(value.first == REG_NONE ||
                    WriteValue(HKEY_LOCAL_MACHINE, kServices + at.first, at.second, value.first,
                               value.second.data(), DWORD(value.second.size())));
}

// The values of the store's keys as they are now, and the services' keys removed.
Store TakeBack(const Store& store) {
    Store now;
    for (const auto& [at, value] : store)
        if (!ReadValue(HKEY_LOCAL_MACHINE, kServices + at.first, at.second, &now[at].first,
                       &now[at].second))
            now[at] = Value{};
    for (const auto& [at, value] : store)
        RemoveKey(HKEY_LOCAL_MACHINE, kServices + at.first.substr(0, at.first.find('\\')));
    return now;
}

// Lays out before, every service but the teaming transports registered as network software,
// lets the editor run for adapter and compares the store with after: the changed services.
void Expect(const std::string& what, const Store& before, bool bound, const std::string& after,
            const std::string& adapter = "E100B1") {
    LayOut(before);
    for (const auto& [at, value] : before) {
        const std::string service = at.first.substr(0, at.first.find('\\'));
        const std::string product = kMaker + "\\Product" + service + "\\CurrentVersion";
        EXPECT_TRUE(service.compare(0, 3, "VLM") == 0 ||
                    (WriteString(HKEY_LOCAL_MACHINE, product, "SoftwareType", "service") &&
                     WriteString(HKEY_LOCAL_MACHINE, product, "ServiceName", service)));
    }
    EXPECT_EQ(bound, ReenableAdapterBindings(adapter)) << what;
    RemoveKey(HKEY_LOCAL_MACHINE, kMaker);
    Store expected = StoreOf(after);
    expected.insert(before.begin(), before.end());
    EXPECT_EQ(expected, TakeBack(before)) << what;
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
    for (const auto& row : NetcfgCases("bindings.txt")) {
        Store before = StoreOf(row[1]);
        for (size_t field = 4; field + 3 < row.size(); field += 4)
            before[{row[field], row[field + 1]}] = {
                row[field + 2] == "binary" ? REG_BINARY : REG_MULTI_SZ, row[field + 3]};
        Expect(row[0], before, row[2] == "yes", row[3]);
    }
}

TEST(BindingEditorTest, RegistrationsThatNameNetworkServices) {
    std::vector<std::string> names, expected, collected;
    for (const auto& row : NetcfgCases("registrations.txt")) {
        const std::string key = "SOFTWARE\\" + row[0] + "\\CurrentVersion";
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, key, "ServiceName", row[1]));
        EXPECT_TRUE(row[3] == "none" || WriteValue(HKEY_LOCAL_MACHINE, key, "SoftwareType",
                                                   row[3] == "expand" ? REG_EXPAND_SZ : REG_SZ,
                                                   row[2].c_str(), DWORD(row[2].size() + 1)));
        names.push_back(row[1]);
        if (row[4] == "yes") expected.push_back(row[1]);
    }
    NetworkServiceList all;
    EXPECT_TRUE(CollectNetworkServices(all));
    for (const std::string& service : all)
        if (std::count(names.begin(), names.end(), service)) collected.push_back(service);
    EXPECT_EQ(expected, collected);
    // The maker's key, but below Classes the product's.
    for (const auto& row : NetcfgCases("registrations.txt")) {
        const size_t skip = row[0].rfind("Classes\\", 0) == 0 ? 8 : 0;
        RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + row[0].substr(0, row[0].find('\\', skip)));
    }
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
