#include "components/FrontPanelDisplayUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool FrontPanelDisplayUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMLCD.EXE");
}
