#include "components/PciLiveSwapUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool PciLiveSwapUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMPCI.EXE");
}
