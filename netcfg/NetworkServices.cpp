#include "netcfg/NetworkServices.h"

#include <cstring>

#include "netcfg/AsciiText.h"
#include "netcfg/MultiStringList.h"

namespace {
const char kNotANetworkService[] = "NO";
// Key names the walk reads: 127 characters at the most.
constexpr DWORD kLongestName = 127;

// The value's text up to its first NUL; the list's guard NULs end a text without one.
std::string TextOf(const MultiStringList& value) {
    return std::string(value.bytes, strnlen(value.bytes, sizeof value.bytes));
}
}  // namespace

bool CollectNetworkServices(NetworkServiceList& list) {
    ReadOnlyKey software(HKEY_LOCAL_MACHINE, "SOFTWARE");
    if (!software.IsOpen()) return false;
    std::string maker;
    for (DWORD makerIndex = 0; software.SubkeyName(makerIndex, maker, kLongestName); ++makerIndex) {
        if (SameTextIgnoringCase(maker.c_str(), "Classes")) continue;
        ReadOnlyKey makerKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + maker);
        if (!makerKey.IsOpen()) continue;
        std::string product;
        for (DWORD productIndex = 0; makerKey.SubkeyName(productIndex, product, kLongestName);
             ++productIndex) {
            if (SameTextIgnoringCase(product.c_str(), "VLMNTCTransport")) continue;
            const std::string service = GetNetworkComponentService("SOFTWARE\\" + maker + "\\" +
                                                                   product + "\\CurrentVersion");
            if (service != kNotANetworkService) list.push_back(service);
        }
    }
    return true;
}

std::string GetNetworkComponentService(const std::string& path) {
    ReadOnlyKey registration(HKEY_LOCAL_MACHINE, path);
    MultiStringList value;
    DWORD type = REG_NONE;
    if (!ReadMultiStringList(registration, "SoftwareType", value, &type) || type != REG_SZ)
        return kNotANetworkService;
    const std::string softwareType = TextOf(value);
    if (!SameTextIgnoringCase(softwareType.c_str(), "transport") &&
        !SameTextIgnoringCase(softwareType.c_str(), "service"))
        return kNotANetworkService;
    if (!ReadMultiStringList(registration, "ServiceName", value)) return kNotANetworkService;
    // An empty name would point the editor at the Services key itself.
    const std::string service = TextOf(value);
    return service.empty() ? kNotANetworkService : service;
}
