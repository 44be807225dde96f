#pragma once
#include <string>

#include "netcfg/NetworkServices.h"

// True when the active "Bind" list of service has an entry in which adapter occurs.
bool ServiceBindsToAdapter(const std::string& adapter, const std::string& service);
// True when a listed service, or one of the teaming transports "VLMANCTransPort" and
// "VLMNTCTransPort", binds to adapter.
bool AdapterHasBindings(const std::string& adapter, const NetworkServiceList& services);
// Moves every disabled binding of service whose "Bind" entry names adapter to the end of the
// active "Bind", "Export" and "Route" lists, the three entries of a binding together. A service
// whose lists cannot be read, differ in their entry counts or would outgrow their buffers is
// left as it was (false, nothing written).
bool EnableServiceBindings(const std::string& adapter, const std::string& service);
