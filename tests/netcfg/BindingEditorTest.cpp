#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>

#include "netcfg/NetcfgCases.h"
#include "netcfg/NetworkServices.h"
#include "netcfg/ReenableAdapterBindings.h"
#include "support/ImportPatch.h"
#include "support/RegistryEdit.h"

namespace {
const std::string kServices = "System\\CurrentControlSet\\Services\\";
const std::string kMaker = "SOFTWARE\\VelmoraNetTest";
const char* const kListNames[] = {"Bind", "Export", "Route"};

// List values by key below Services and name: their type and bytes.
using Value = std::pair<DWORD, std::string>;
using Store = std::map<std::pair<std::string, std::string>, Value>;

// The store text describes, over store: lists closed by one more NUL, empty ones by two.
Store StoreOf(const std::string& text, Store store = {}) {
    std::istringstream services(text);
    for (std::string service, name, device; std::getline(services, service, ';');) {
        std::istringstream words(service);
        if (!(words >> name) || name.back() != ':') continue;
        const DWORD type = name.find('*') != std::string::npos ? REG_BINARY : REG_MULTI_SZ;
        name.erase(name.find_first_of("*:"));
        std::string lists[6];
        for (int side = 0; words >> device; side = device == "/" ? 3 : side) {
            if (device == "/") continue;
            lists[side] += "\\Device\\" + device + '\0';
            lists[side + 1] += "\\Device\\" + name + "_" + device + '\0';
            lists[side + 2] += "\"" + device + "\"" + '\0';
        }
        for (int list = 0; list < (service.find('/') != std::string::npos ? 6 : 3); ++list)
            store[{name + (list < 3 ? "\\Linkage" : "\\Linkage\\Disabled"), kListNames[list % 3]}] =
                {type, lists[list].append(1 + lists[list].empty(), 0)};
    }
    return store;
}

// Refuses the registry write that counts refusal down to 0 and passes the others on.
int refusal = 0;
ImportPatch* setPatch = nullptr;
LONG WINAPI RefuseOneWrite(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                           DWORD size) {
    if (--refusal == 0) return ERROR_ACCESS_DENIED;
    return setPatch->Original<decltype(&RegSetValueExA)>()(key, name, reserved, type, data, size);
}

// Lays out before with its registrations (see bindings.txt), runs the editor, compares with after.
void Expect(const std::string& what, const Store& before, bool bound, const std::string& after,
            const std::string& adapter, int refuse = 0) {
    for (const auto& [at, value] : before) {
        const std::string service = at.first.substr(0, at.first.find('\\'));
        const std::string product = kMaker + "\\Product" + service + "\\CurrentVersion";
        EXPECT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kServices + at.first, at.second, value.first,
                               value.second.data(), DWORD(value.second.size())));
        EXPECT_TRUE(service.compare(0, 3, "VLM") == 0 ||
                    (WriteString(HKEY_LOCAL_MACHINE, product, "SoftwareType", "service") &&
                     WriteString(HKEY_LOCAL_MACHINE, product, "ServiceName", service)));
    }
    ImportPatch patch("advapi32.dll", "RegSetValueExA", reinterpret_cast<void*>(RefuseOneWrite));
    ASSERT_TRUE(patch.Active());
    setPatch = &patch;
    refusal = refuse;  // 0: none
    EXPECT_EQ(bound, ReenableAdapterBindings(adapter)) << what;
    RemoveKey(HKEY_LOCAL_MACHINE, kMaker);
    Store now;
    for (const auto& [at, value] : before)  // a value that cannot be read compares as empty
        ReadValue(HKEY_LOCAL_MACHINE, kServices + at.first, at.second, &now[at].first,
                  &now[at].second);
    for (const auto& [at, value] : before)
        RemoveKey(HKEY_LOCAL_MACHINE, kServices + at.first.substr(0, at.first.find('\\')));
    EXPECT_EQ(StoreOf(after, before), now) << what;
}
}  // namespace

// What the editor moves, and what it leaves as it was, on the stores of bindings.txt.
TEST(BindingEditorTest, Cases) {
    for (const auto& row : NetcfgCases("bindings.txt")) {
        Store before = StoreOf(row[1]);
        for (size_t field = 5; field + 2 < row.size(); field += 3)
            before[{row[field], row[field + 1]}].second = row[field + 2];
        Expect(row[0], before, row[3] == "yes", row[4], "E100B1", std::stoi(row[2]));
    }
}

// The collector takes the services of network software registrations only (registrations.txt).
TEST(BindingEditorTest, RegistrationsThatNameNetworkServices) {
    const auto rows = NetcfgCases("registrations.txt");
    for (const auto& row : rows) {
        const std::string key = "SOFTWARE\\" + row[0] + row[1] + "\\CurrentVersion";
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, key, "ServiceName", row[2]));
        EXPECT_TRUE(row[4] == "none" || WriteValue(HKEY_LOCAL_MACHINE, key, "SoftwareType",
                                                   row[4] == "expand" ? REG_EXPAND_SZ : REG_SZ,
                                                   row[3].c_str(), DWORD(row[3].size() + 1)));
    }
    NetworkServiceList all;
    EXPECT_TRUE(CollectNetworkServices(all));
    for (const auto& row : rows) {
        EXPECT_EQ(row[5] == "yes", std::count(all.begin(), all.end(), row[2]) == 1) << row[1];
        RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + row[0]);
    }
}

// On random stores every binding of the adapter, and only those, moves whole and in order.
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
            std::string lists[4];  // active and disabled devices before, then after the edit
            for (int side = 0; side < 2; ++side)
                for (int count = random() % 7; count > 0; --count) {
                    const auto device = " " + devices[random() % 7] + std::to_string(random() % 3);
                    lists[side] += device;
                    lists[side == 0 || device.find(adapter) != std::string::npos ? 2 : 3] += device;
                }
            bound = bound || lists[0].find(adapter) != std::string::npos;
            const std::string name = "; OtRandom" + std::to_string(service) + ":";
            before += name + lists[0] + " /" + lists[1];
            after += name + lists[2] + " /" + lists[3];
        }
        moved += bound && before != after;
        Expect(adapter + " in " + before, StoreOf(before), bound, bound ? after : "", adapter);
        if (HasFailure()) return;
    }
    EXPECT_GT(moved, 50);
}
