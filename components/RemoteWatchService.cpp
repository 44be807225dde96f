#include "components/RemoteWatchService.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool RemoteWatchService::IsInstalled() {
    return FileExists(SystemDirectory() + "vlmrwsv.exe");
}
