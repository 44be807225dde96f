#include "components/ClusterAuditUtility.h"

#include "base/ProgramsFolders.h"
#include "base/SystemQueries.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegistryKey.h"

bool ClusterAuditUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "vlmcau\\VCAU.EXE");
}

bool ClusterAuditUtility::FinalStage() {
    const bool deleted = RegistryKey("Software\\Velmora\\CPL Launcher\\VLMCAUTL").DeleteTree();
    DeleteShortcut(CommonProgramsFolder() + "\\Velmora System Tools\\" + "Velmora Cluster Audit" +
                   ".lnk");
    return deleted;
}

bool ClusterAuditUtility::MiddleStage() {
    const std::string system = SystemDirectory();
    // The executable's error line is only a note: the folder decides, and it stays while
    // anything, a file scheduled for the restart included, is left in it.
    DeleteMainFile(system + "vlmcau\\vcau.exe", "vcau.exe");
    DeleteFiles(system, {"vlmcau\\vcau.dll", "vlmcau\\vcau.hlp", "vlmcau\\vcausvc.exe",
                         "vlmcau\\vlutil.dll"});
    return RemoveFolder(system + "vlmcau");
}
