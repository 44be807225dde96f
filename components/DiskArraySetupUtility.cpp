#include "components/DiskArraySetupUtility.h"

#include "base/ProgramsFolders.h"
#include "base/SystemQueries.h"
#include "components/RemovalSteps.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgmanClient.h"

namespace {
// The utility's folder as its installer listed it: some names come twice, and each entry is
// attempted every time it appears.
const char* const kFolderFiles[] = {
    "vlmdsu\\VLMMISC.DLL",  "vlmdsu\\uxl.DLL",      "vlmdsu\\VLMCTRLS.DLL", "vlmdsu\\VLMDAENG.DLL",
    "vlmdsu\\VLMDAFRN.DLL", "vlmdsu\\VLMDAGER.DLL", "vlmdsu\\VLMDAITA.DLL", "vlmdsu\\VLMDAJPN.DLL",
    "vlmdsu\\VLMDASPA.DLL", "vlmdsu\\VLMDAFRN.HLP", "vlmdsu\\VLMDAGER.HLP", "vlmdsu\\VLMDAITA.HLP",
    "vlmdsu\\VLMDASPA.HLP", "vlmdsu\\BC520RTL.DLL", "vlmdsu\\BDS52F.DLL",   "vlmdsu\\BWCC32.DLL",
    "vlmdsu\\CW3230.DLL",   "vlmdsu\\OWL52F.DLL",   "vlmdsu\\LLHWIF.DLL",   "vlmdsu\\DSUHALNT.DLL",
    "vlmdsu\\VLMDSU.EXE",   "vlmdsu\\VLMDAENG.HLP", "vlmdsu\\VLMDAJPN.HLP", "vlmdsu\\BC450RTL.DLL",
    "vlmdsu\\BIDS45.DLL",   "vlmdsu\\BWCC.DLL",     "vlmdsu\\VLMBIOS.DLL",  "vlmdsu\\VLMCTRLS.DLL",
    "vlmdsu\\VLMMISC.DLL",  "vlmdsu\\VLMNT32L.DLL", "vlmdsu\\VLMDAENG.DLL", "vlmdsu\\VLMDAFRN.DLL",
    "vlmdsu\\VLMDAGER.DLL", "vlmdsu\\VLMDAITA.DLL", "vlmdsu\\VLMDAJPN.DLL", "vlmdsu\\VLMDASPA.DLL",
    "vlmdsu\\VLMW16L.DLL",  "vlmdsu\\NTFILES.LST",  "vlmdsu\\OWL250.DLL",   "vlmdsu\\VLMWNTL.DLL",
};
}  // namespace

bool DiskArraySetupUtility::IsInstalled() {
    return FileExists(SystemDirectory() + "VLMDSU\\VLMDSU.EXE");
}

bool DiskArraySetupUtility::FinalStage() {
    DeleteKeys(
        {"Software\\Velmora\\CPL Launcher\\VLMDSU", "Software\\Velmora\\Disk Array Setup Utility"});
    return true;
}

bool DiskArraySetupUtility::MiddleStage() {
    const std::string system = SystemDirectory();
    const bool removed = DeleteMainFile(system + "vlmdsu\\vlmdsu.exe", "vlmdsu.exe");
    for (const char* name : kFolderFiles) DeleteFileForced(system + name);
    RemoveFolder(system + "vlmdsu");
    DeleteFiles(system, {"VLMDAENG.HLP", "VLMDAJPN.HLP", "VLMDAGER.HLP", "VLMDAITA.HLP",
                         "VLMDASPA.HLP", "VLMDAFRN.HLP"});
    DeleteShortcuts(CommonProgramsFolder(),
                    {"\\Velmora System Tools\\Velmora Disk Array Setup Utility.lnk",
                     "\\Administrative Tools (Common)\\Velmora Disk Array Setup Utility.lnk"});
    if (IsNt351Build()) {
        // Windows NT 3.51 shows the utility as an item of a personal Program Manager group.
        ProgmanConversation().DeleteItem("Administrative Tools", "Velmora Disk Array Setup Utility",
                                         false);
    }
    return removed;
}
