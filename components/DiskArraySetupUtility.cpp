#include "components/DiskArraySetupUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool DiskArraySetupUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMDSU\\VLMDSU.EXE");
}
