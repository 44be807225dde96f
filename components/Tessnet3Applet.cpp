#include "components/Tessnet3Applet.h"

#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgramsFolders.h"

bool Tessnet3Applet::IsInstalled() {
    return FileExists(SystemDirectory() + "tessnt3.cpl") ||
           FileExists(CommonProgramsFolder() + "\\Velmora System Tools\\Velmora Net.lnk") ||
           FileExists(SystemDirectory() + "vlmttlx.exe");
}
