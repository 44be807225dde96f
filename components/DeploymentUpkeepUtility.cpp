#include "components/DeploymentUpkeepUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool DeploymentUpkeepUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "UPK.EXE");
}
