#include "netcfg/NetworkServices.h"

#include <cstring>

#include "netcfg/AsciiText.h"
#include "netcfg/BindingStoreKey.h"

namespace {
const char kNotANetworkService[] = "NO";

// The value's text up to its first NUL; the list's guard NULs end a text without one.
std::string TextOf(const MultiStringList& value) {
    return std::string(value.bytes, strnlen(value.bytes, sizeof value.bytes));
}
}  // namespace

bool CollectNetworkServices(NetworkServiceList& list) {
    BindingStoreKey software("SOFTWARE", KEY_READ);
    if (!software.IsOpen()) return false;
    std::string maker;
    for (DWORD makerIndex = 0; software.SubkeyName(makerIndex, maker); ++makerIndex) {
        if (SameTextIgnoringCase(maker.c_str(), "Classes")) continue;
        BindingStoreKey makerKey("SOFTWARE\\" + maker, KEY_READ);
        if (!makerKey.IsOpen()) continue;
        std::string product;
        for (DWORD productIndex = 0; makerKey.SubkeyName(productIndex, product); ++productIndex) {
            if (SameTextIgnoringCase(product.c_str(), "VLMNTCTransport")) continue;
            const std::string service = GetNetworkComponentService("SOFTWARE\\" + maker + "\\" +
                                                                   product + "\\CurrentVersion");
            if (service != kNotANetworkService) list.push_back(service);
        }
    }
    return true;
}

std::string GetNetworkComponentService(const std::string& path) {
    BindingStoreKey registration(path, KEY_READ);
    MultiStringList value;
    DWORD type = REG_NONE;
    if (!registration.ReadList("SoftwareType", value, &type) || type != REG_SZ)
        return kNotANetworkService;
    const std::string softwareType = TextOf(value);
    if (!SameTextIgnoringCase(softwareType.c_str(), "transport") &&
        !SameTextIgnoringCase(softwareType.c_str(), "service"))
        return kNotANetworkService;
    if (!registration.ReadList("ServiceName", value)) return kNotANetworkService;
    // An empty name would point the editor at the Services key itself.
    const std::string service = TextOf(value);
    return service.empty() ? kNotANetworkService : service;
}
