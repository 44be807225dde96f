#include "components/ManagementAgents.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool ManagementAgents::IsInstalled() {
    return FileExists(SystemDirectory() + "vlmmgmt.cpl");
}
