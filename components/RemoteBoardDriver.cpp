#include "components/RemoteBoardDriver.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool RemoteBoardDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\vlmrlb.sys");
}
