#include "components/PlatformHealthDriver.h"

#include "base/SystemQueries.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ServiceControl.h"

bool PlatformHealthDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\hwwatch.sys");
}

bool PlatformHealthDriver::FinalStage() {
    DeleteKeys(kServicesKey,
               {"HwWatch", "EventLog\\System\\HwWatch", "HwDown", "EventLog\\System\\HwDown"});
    return true;
}

bool PlatformHealthDriver::MiddleStage() {
    const std::string system = SystemDirectory();
    DeleteMainFile(system + "drivers\\hwwatch.sys", "hwwatch.sys");
    DeleteFiles(system, {"drivers\\hwdown.exe", "vlmshut.cmd"});
    return true;
}
