#include "components/OnlineStorageFailoverUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool OnlineStorageFailoverUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "FOAMON.EXE");
}
