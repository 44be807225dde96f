#include "components/RemoteBoardWanDriver.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool RemoteBoardWanDriver::IsInstalled() {
    return FileExists(SystemDirectory() + "drivers\\rlbwan.sys");
}
