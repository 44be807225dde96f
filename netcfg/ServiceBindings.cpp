#include "netcfg/ServiceBindings.h"

#include "netcfg/AdapterNameMatch.h"
#include "netcfg/MultiStringList.h"
#include "sysaccess/RegistryKey.h"
#include "sysaccess/ServiceControl.h"

namespace {
const char* const kListNames[] = {"Bind", "Export", "Route"};
constexpr int kBind = 0;
constexpr int kLists = 3;

std::string LinkagePath(const std::string& service) {
    return std::string(kServicesKey) + "\\" + service + "\\Linkage";
}

// The three parallel lists of one side of the binding store.
struct BindingLists {
    MultiStringList list[kLists];
    DWORD position[kLists] = {};

    bool Read(ReadOnlyKey& key) {
        for (int index = 0; index < kLists; ++index)
            if (!ReadMultiStringList(key, kListNames[index], list[index])) return false;
        return true;
    }
    // Every binding has its entry in each of the three lists.
    bool Parallel() const {
        const unsigned count = CountMultiStringEntries(list[kBind]);
        for (int index = 0; index < kLists; ++index)
            if (CountMultiStringEntries(list[index]) != count) return false;
        return true;
    }
    bool Append(const BindingLists& from, unsigned entry) {
        for (int index = 0; index < kLists; ++index)
            if (!AppendMultiStringEntry(list[index], position[index],
                                        GetMultiStringEntry(from.list[index], entry)))
                return false;
        return true;
    }
    bool Close() {
        for (int index = 0; index < kLists; ++index)
            if (!CloseMultiStringList(list[index], position[index])) return false;
        return true;
    }
    // Each list through the gate.
    bool Write(RegistryKey& key) const {
        for (int index = 0; index < kLists; ++index)
            if (!key.RewriteList(kListNames[index], list[index].bytes, position[index]))
                return false;
        return true;
    }
};
}  // namespace

bool ServiceBindsToAdapter(const std::string& adapter, const std::string& service) {
    ReadOnlyKey linkage(HKEY_LOCAL_MACHINE, LinkagePath(service), KEY_ALL_ACCESS);
    MultiStringList bind;
    if (!ReadMultiStringList(linkage, "Bind", bind)) return false;
    const unsigned count = CountMultiStringEntries(bind);
    for (unsigned entry = 0; entry < count; ++entry)
        if (RefersToAdapter(GetMultiStringEntry(bind, entry), adapter)) return true;
    return false;
}

bool AdapterHasBindings(const std::string& adapter, const NetworkServiceList& services) {
    for (const std::string& service : services)
        if (ServiceBindsToAdapter(adapter, service)) return true;
    const bool first = ServiceBindsToAdapter(adapter, "VLMANCTransPort");
    const bool second = ServiceBindsToAdapter(adapter, "VLMNTCTransPort");
    return first || second;
}

bool EnableServiceBindings(const std::string& adapter, const std::string& service) {
    const std::string activePath = LinkagePath(service);
    const std::string disabledPath = activePath + "\\Disabled";
    ReadOnlyKey disabledKey(HKEY_LOCAL_MACHINE, disabledPath, KEY_ALL_ACCESS);
    ReadOnlyKey activeKey(HKEY_LOCAL_MACHINE, activePath, KEY_ALL_ACCESS);
    if (!disabledKey.IsOpen() || !activeKey.IsOpen()) return false;
    BindingLists disabled, active;
    if (!disabled.Read(disabledKey) || !active.Read(activeKey)) return false;
    if (!disabled.Parallel() || !active.Parallel()) return false;

    for (int index = 0; index < kLists; ++index)
        active.position[index] = MultiStringDataLength(active.list[index]);
    BindingLists kept;
    const unsigned count = CountMultiStringEntries(disabled.list[kBind]);
    for (unsigned entry = 0; entry < count; ++entry) {
        BindingLists& side =
            RefersToAdapter(GetMultiStringEntry(disabled.list[kBind], entry), adapter) ? active
                                                                                       : kept;
        if (!side.Append(disabled, entry)) return false;
    }
    // Everything is built before the first write: a list that does not fit changes nothing.
    if (!kept.Close() || !active.Close()) return false;
    // The active lists first: a write that fails after them leaves a moved binding in both
    // sides, never in neither.
    RegistryKey activeWriter(activePath), disabledWriter(disabledPath);
    return active.Write(activeWriter) && kept.Write(disabledWriter);
}
