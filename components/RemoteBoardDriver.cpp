#include "components/RemoteBoardDriver.h"

#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool RemoteBoardDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\vlmrlb.sys");
}

bool RemoteBoardDriver::FinalStage() {
    DeleteKeys({"System\\CurrentControlSet\\Services\\VLMRLB",
                "System\\CurrentControlSet\\Services\\EventLog\\System\\VLMRLB"});
    return true;
}

bool RemoteBoardDriver::MiddleStage() {
    DeleteMainFile(SystemDirectory() + "drivers\\vlmrlb.sys", "vlmrlb.sys");
    return true;
}
