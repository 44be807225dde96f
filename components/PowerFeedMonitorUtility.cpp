#include "components/PowerFeedMonitorUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool PowerFeedMonitorUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMPFM.EXE");
}
