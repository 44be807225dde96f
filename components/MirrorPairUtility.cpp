#include "components/MirrorPairUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool MirrorPairUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMSFAD.EXE");
}
