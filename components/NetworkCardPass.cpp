#include "components/NetworkCardPass.h"

#include "components/RegistryReads.h"

#include <windows.h>

#include <string>
#include <vector>

#include "netcfg/AsciiText.h"
#include "netcfg/ReenableAdapterBindings.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kNetworkCards[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char kServices[] = "System\\CurrentControlSet\\Services";

const char* const kSecondaryValues[] = {
    "SecondaryEisaCompressedId", "SecondaryDuplex",        "SecondaryConnector",
    "SecondaryMediaSpeed",       "SecondarySlotNumber",    "SecondaryBusNumber",
    "SecondaryBusType",          "SecondaryPhyType",       "SecondaryIrq",
    "SecondaryIoSpaceLength",    "SecondaryIoBaseAddress", "SecondaryDeviceFunctionNumber",
    "SecondaryPortNumber",       "SecondaryMediaType",     "SecondaryRemoteWakeUpEnable",
};

void StripTeaming(const std::string& parameters) {
    RegistryKey(parameters + "\\VLMANCTransport").DeleteTree();
    RegistryKey(parameters + "\\VLMNTCTransport").DeleteTree();
}

void ResetSecondaryAdapter(const std::string& service, const std::string& parameters) {
    ReenableAdapterBindings(service);
    RegistryKey key(parameters);
    key.SetDword("OperatingMode", 0);
    for (const char* value : kSecondaryValues) key.DeleteValue(value);
    StripTeaming(parameters);
}

void Apply(NetworkCardAction action, const std::string& entry) {
    if (action == NetworkCardAction::DeleteAdapterEntry) {
        RegistryKey(entry).DeleteTree();
        return;
    }
    // No path is ever built from an empty service name.
    const std::string service = StringValue(entry, "ServiceName");
    if (service.empty()) return;
    const std::string serviceKey = std::string(kServices) + "\\" + service;
    const std::string parameters = serviceKey + "\\Parameters";
    switch (action) {
        case NetworkCardAction::RebindAndStripTeaming:
            ReenableAdapterBindings(service);
            StripTeaming(parameters);
            break;
        case NetworkCardAction::StripTeaming:
            StripTeaming(parameters);
            break;
        case NetworkCardAction::DeleteAdapterService:
            RegistryKey(serviceKey).DeleteTree();
            break;
        case NetworkCardAction::ResetSecondaryAdapter:
            ResetSecondaryAdapter(service, parameters);
            break;
        case NetworkCardAction::DeleteAdapterEntry:
            break;
    }
}
}  // namespace

void NetworkCardPass(const char* productName, NetworkCardAction action) {
    for (const std::string& name : SubkeyNames(kNetworkCards)) {
        const std::string entry = std::string(kNetworkCards) + "\\" + name;
        if (SameTextIgnoringCase(StringValue(entry, "ProductName").c_str(), productName))
            Apply(action, entry);
    }
}

void DeleteVirtualAdapterEntries() {
    NetworkCardPass("VLMNTC", NetworkCardAction::DeleteAdapterEntry);
    NetworkCardPass("VLMANC", NetworkCardAction::DeleteAdapterEntry);
    RegistryKey("Software\\Velmora\\VLMANCTransport").DeleteTree();
}
