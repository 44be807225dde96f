#include "components/PlatformHealthDriver.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool PlatformHealthDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\hwwatch.sys");
}
