#pragma once
#include <string>
#include <vector>

// Service names of the installed network software, in the order they were found.
using NetworkServiceList = std::vector<std::string>;

// Appends the service of every "SOFTWARE\maker\product\CurrentVersion" registration that names
// a network service; the makers "Classes" and the products "VLMNTCTransport" are passed over.
// False only when "SOFTWARE" cannot be opened.
bool CollectNetworkServices(NetworkServiceList& list);
// The "ServiceName" of the registration at path when its "SoftwareType" is the REG_SZ text
// "transport" or "service"; otherwise "NO".
std::string GetNetworkComponentService(const std::string& path);
