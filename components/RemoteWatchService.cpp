#include "components/RemoteWatchService.h"

#include "base/SystemQueries.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ServiceControl.h"

bool RemoteWatchService::IsInstalled() {
    return FileExists(SystemDirectory() + "vlmrwsv.exe");
}

bool RemoteWatchService::FinalStage() {
    // Without its service key the service is not started again after the restart, when its
    // executable, in use until then, goes.
    DeleteKeys(kServicesKey, {"vlmrwsv", "EventLog\\System\\vlmrwsv"});
    DeleteKeys({"Software\\Velmora\\VlmRwsv"});
    return true;
}

bool RemoteWatchService::MiddleStage() {
    const std::string system = SystemDirectory();
    DeleteMainFile(system + "vlmrwsv.exe", "vlmrwsv.exe");
    DeleteFiles(system, {"vlmrpcl.dll", "vlmrscsmn.dll", "vlmrnicmn.dll"});
    return true;
}
