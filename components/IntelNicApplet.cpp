#include "components/IntelNicApplet.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"

bool IntelNicApplet::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMNTLX.CPL") ||
           FileExists(SystemDirectory() + "VLMset.CPL") ||
           FileExists(SystemDirectory() + "ntlxmon.exe");
}
