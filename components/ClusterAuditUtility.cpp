#include "components/ClusterAuditUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool ClusterAuditUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "vlmcau\\VCAU.EXE");
}
