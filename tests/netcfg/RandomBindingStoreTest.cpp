// Many random binding stores: after each call every binding still exists exactly once, only the
// disabled bindings that name the adapter moved, and both sides kept their order.
#include <gtest/gtest.h>

#include <random>

#include "BindingStore.h"
#include "netcfg/ReenableAdapterBindings.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kMaker[] = "VelmoraRandomNet";

// Names that contain each other, differ in case or carry characters beyond ASCII.
const std::vector<std::string>& Devices() {
    static const std::vector<std::string> all = {"E100B1",
                                                 "E100B10",
                                                 "e100b1",
                                                 "E100B",
                                                 "Net\xe9\xe8"
                                                 "1",
                                                 "\xc4\xd6"
                                                 "Card",
                                                 "NdisWan5"};
    return all;
}

struct Binding {
    std::string bind, exportEntry, route;
    bool operator==(const Binding& other) const {
        return bind == other.bind && exportEntry == other.exportEntry && route == other.route;
    }
};
using Side = std::vector<Binding>;

Side SideOf(const Entries& bind, const Entries& exportList, const Entries& route) {
    EXPECT_EQ(bind.size(), exportList.size());
    EXPECT_EQ(bind.size(), route.size());
    Side side;
    for (size_t i = 0; i < bind.size() && i < exportList.size() && i < route.size(); ++i)
        side.push_back({bind[i], exportList[i], route[i]});
    return side;
}

struct Store {
    Side active, disabled;
};

Store StoreOf(const ServiceLists& lists) {
    return {SideOf(lists.bind, lists.exportList, lists.route),
            SideOf(lists.disabledBind, lists.disabledExport, lists.disabledRoute)};
}

ServiceLists ListsOf(const Store& store) {
    ServiceLists lists;
    for (const Binding& b : store.active) {
        lists.bind.push_back(b.bind);
        lists.exportList.push_back(b.exportEntry);
        lists.route.push_back(b.route);
    }
    for (const Binding& b : store.disabled) {
        lists.disabledBind.push_back(b.bind);
        lists.disabledExport.push_back(b.exportEntry);
        lists.disabledRoute.push_back(b.route);
    }
    return lists;
}

bool Names(const std::string& entry, const std::string& adapter) {
    return entry.find(adapter) != std::string::npos;
}
}  // namespace

TEST(RandomBindingStoreTest, BindingsMoveWholeAndInOrder) {
    // The reference search above is byte-wise: right for a single-byte code page.
    CPINFO codePage;
    ASSERT_TRUE(GetCPInfo(CP_ACP, &codePage));
    ASSERT_EQ(1u, codePage.MaxCharSize);

    std::mt19937 random(20240601);
    int moved = 0, rewritten = 0;
    for (int round = 0; round < 150; ++round) {
        RegistryKey(std::string("SOFTWARE\\") + kMaker).DeleteTree();
        const int services = 1 + random() % 6;
        std::vector<std::string> names;
        std::vector<Store> before;
        for (int s = 0; s < services; ++s) {
            const std::string name = "OtRandom" + std::to_string(s);
            names.push_back(name);
            Store store;
            for (Side* side : {&store.active, &store.disabled}) {
                const int count = random() % 7;
                for (int i = 0; i < count; ++i) {
                    const std::string device =
                        Devices()[random() % Devices().size()] + std::to_string(random() % 3);
                    side->push_back({"\\Device\\" + device, "\\Device\\" + name + "_" + device,
                                     "\"" + device + "\" " + std::to_string(i)});
                }
            }
            RegistryKey("System\\CurrentControlSet\\Services\\" + name).DeleteTree();
            RegisterSoftware(kMaker, "Product" + name, random() % 2 ? "service" : "Transport",
                             name);
            WriteService(name, ListsOf(store));
            before.push_back(store);
        }
        const std::string adapter = Devices()[random() % Devices().size()];

        bool binds = false;
        for (const Store& store : before)
            for (const Binding& b : store.active) binds = binds || Names(b.bind, adapter);
        ASSERT_EQ(binds, ReenableAdapterBindings(adapter)) << "round " << round;

        for (int s = 0; s < services; ++s) {
            Store expected = before[s];
            if (binds) {
                Side kept;
                for (const Binding& b : before[s].disabled)
                    (Names(b.bind, adapter) ? expected.active : kept).push_back(b);
                moved += static_cast<int>(expected.active.size() - before[s].active.size());
                expected.disabled = kept;
                ++rewritten;
            }
            const Store after = StoreOf(ReadService(names[s]));
            ASSERT_EQ(expected.active, after.active) << "round " << round << " " << names[s];
            ASSERT_EQ(expected.disabled, after.disabled) << "round " << round << " " << names[s];
        }
        for (const std::string& name : names)
            RegistryKey("System\\CurrentControlSet\\Services\\" + name).DeleteTree();
    }
    RegistryKey(std::string("SOFTWARE\\") + kMaker).DeleteTree();
    EXPECT_GT(moved, 100);
    EXPECT_GT(rewritten, 50);
}
