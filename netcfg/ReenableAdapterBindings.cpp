#include "netcfg/ReenableAdapterBindings.h"

#include "netcfg/NetworkServices.h"
#include "netcfg/ServiceBindings.h"

bool ReenableAdapterBindings(const std::string& adapter) {
    NetworkServiceList services;
    if (!CollectNetworkServices(services)) return false;
    if (!AdapterHasBindings(adapter, services)) return false;
    // A service whose lists cannot be processed stays as it was; the others still go.
    for (const std::string& service : services) EnableServiceBindings(adapter, service);
    return true;
}
