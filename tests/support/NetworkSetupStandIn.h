#pragma once
#include <string>

// The NCPA.CPL stand-in (see tests/README.md) in the system directory, where the network setup
// looks for it, and the record NCPA.CALLS it keeps beside itself.

// Copies the stand-in into the system directory with no record yet; false when it cannot.
bool InstallNetworkSetupStandIn();
// The record's path and what it holds: one line per call.
std::string NetworkSetupRecord();
std::string NetworkSetupCalls();
// Takes the stand-in and its record away again.
void RemoveNetworkSetupStandIn();
