#include "components/EventJournalViewerUtility.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool EventJournalViewerUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMEJVW.EXE");
}
