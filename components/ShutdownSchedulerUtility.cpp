#include "components/ShutdownSchedulerUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool ShutdownSchedulerUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMSDW.EXE");
}
