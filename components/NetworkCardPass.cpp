#include "components/NetworkCardPass.h"

#include "components/RegistryReads.h"
#include "components/RemovalSteps.h"
#include "netcfg/AsciiText.h"
#include "netcfg/ReenableAdapterBindings.h"
#include "sysaccess/RegistryKey.h"
#include "sysaccess/ServiceControl.h"

namespace {
const char kNetworkCards[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";

const char* const kSecondaryValues[] = {
    "SecondaryEisaCompressedId", "SecondaryDuplex",        "SecondaryConnector",
    "SecondaryMediaSpeed",       "SecondarySlotNumber",    "SecondaryBusNumber",
    "SecondaryBusType",          "SecondaryPhyType",       "SecondaryIrq",
    "SecondaryIoSpaceLength",    "SecondaryIoBaseAddress", "SecondaryDeviceFunctionNumber",
    "SecondaryPortNumber",       "SecondaryMediaType",     "SecondaryRemoteWakeUpEnable",
};

void StripTeaming(const std::string& parameters) {
    DeleteKeys(parameters, {"VLMANCTransport", "VLMNTCTransport"});
}

void ResetSecondaryAdapter(const std::string& service, const std::string& parameters) {
    ReenableAdapterBindings(service);
    RegistryKey key(parameters);
    key.SetDword("OperatingMode", 0);
    for (const char* value : kSecondaryValues) key.DeleteValue(value);
    StripTeaming(parameters);
}

void Apply(NetworkCardAction action, const std::string& entry) {
    // No path is ever built from an empty service name.
    const std::string service = StringValue(entry, "ServiceName");
    if (service.empty()) return;
    const std::string serviceKey = std::string(kServicesKey) + "\\" + service;
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
    }
}
}  // namespace

std::vector<std::string> FindNetworkCards(const char* productName) {
    std::vector<std::string> cards;
    for (const std::string& name : SubkeyNames(kNetworkCards)) {
        if (SameTextIgnoringCase(StringValue(NetworkCardKey(name), "ProductName").c_str(),
                                 productName))
            cards.push_back(name);
    }
    return cards;
}

std::string NetworkCardKey(const std::string& card) {
    return std::string(kNetworkCards) + "\\" + card;
}

void NetworkCardPass(const char* productName, NetworkCardAction action) {
    for (const std::string& card : FindNetworkCards(productName))
        Apply(action, NetworkCardKey(card));
}

void DeleteVirtualAdapterEntries() {
    for (const char* product : {"VLMNTC", "VLMANC"})
        for (const std::string& card : FindNetworkCards(product))
            RegistryKey(NetworkCardKey(card)).DeleteTree();
    RegistryKey("Software\\Velmora\\VLMANCTransport").DeleteTree();
}
