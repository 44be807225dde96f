#include "components/RemoteBoardDriver.h"

#include "base/SystemQueries.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ServiceControl.h"

bool RemoteBoardDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\vlmrlb.sys");
}

bool RemoteBoardDriver::FinalStage() {
    DeleteKeys(kServicesKey, {"VLMRLB", "EventLog\\System\\VLMRLB"});
    return true;
}

bool RemoteBoardDriver::MiddleStage() {
    DeleteMainFile(SystemDirectory() + "drivers\\vlmrlb.sys", "vlmrlb.sys");
    return true;
}
