#include "support/NetworkSetupStandIn.h"

#include <windows.h>

#include "run/SystemQueries.h"
#include "support/Machine.h"

namespace {
std::string InstalledStandIn() {
    return SystemDirectory() + "NCPA.CPL";
}
}  // namespace

bool InstallNetworkSetupStandIn() {
    DeleteFileA(NetworkSetupRecord().c_str());
    return CopyFileA((BinDir() + "\\..\\standins\\NCPA.CPL").c_str(), InstalledStandIn().c_str(),
                     FALSE) != FALSE;
}

std::string NetworkSetupRecord() {
    return SystemDirectory() + "NCPA.CALLS";
}

std::string NetworkSetupCalls() {
    return ReadWholeFile(NetworkSetupRecord());
}

void RemoveNetworkSetupStandIn() {
    DeleteFileA(InstalledStandIn().c_str());
    DeleteFileA(NetworkSetupRecord().c_str());
}
