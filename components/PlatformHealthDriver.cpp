#include "components/PlatformHealthDriver.h"

#include "components/RemovalSteps.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool PlatformHealthDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\hwwatch.sys");
}

bool PlatformHealthDriver::FinalStage() {
    DeleteKeys({"System\\CurrentControlSet\\Services\\HwWatch",
                "System\\CurrentControlSet\\Services\\EventLog\\System\\HwWatch",
                "System\\CurrentControlSet\\Services\\HwDown",
                "System\\CurrentControlSet\\Services\\EventLog\\System\\HwDown"});
    return true;
}

bool PlatformHealthDriver::MiddleStage() {
    const std::string system = SystemDirectory();
    DeleteMainFile(system + "drivers\\hwwatch.sys", "hwwatch.sys");
    DeleteFiles(system, {"drivers\\hwdown.exe", "vlmshut.cmd"});
    return true;
}
