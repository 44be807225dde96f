#include "restore/KitReadme.h"

namespace {
const char kReadme[] =
    "Oberin restore kit\r\n"
    "\r\n"
    "A cleanup run saved here, before each change, what the change replaced:\r\n"
    "  restore.reg         the registry keys it deleted, with all their subkeys and values, and\r\n"
    "                      the values it deleted, set or rewrote (network binding lists\r\n"
    "                      included), as they were; regedit can import it too.\r\n"
    "  files               every file it deleted or scheduled for deletion at the restart,\r\n"
    "                      shortcuts included, under its full path: files\\C\\WINNT\\x.dll is\r\n"
    "                      C:\\WINNT\\x.dll.\r\n"
    "  manifest.txt        the machine the kit was made on, then every saved item, a line\r\n"
    "                      each: kind, target and, for a file and a part of restore.reg, size\r\n"
    "                      and CRC-32; also the folders the run removed, the keys it made to\r\n"
    "                      set a value in, and the deletions it added to the restart list.\r\n"
    "  oberin-changes.txt  the run's change report: every change of the run.\r\n"
    "  restored.txt        once restored: when, and how many items came back.\r\n"
    "Only Administrators and SYSTEM may change this folder.\r\n"
    "\r\n"
    "To restore, run \"oberin /restore\" in the folder the run was started from: it restores\r\n"
    "every kit of this machine there and in the system directory that has not been restored\r\n"
    "yet, newest first, and passes over kits of other machines. \"oberin /restore /preview\"\r\n"
    "changes nothing and writes oberin-restore-preview.txt: what a restore would do. To restore\r\n"
    "this kit alone, run \"oberin /restore <this folder's full path>\". A restore refuses a kit\r\n"
    "of another machine or of an earlier build, one that others may change, and one whose\r\n"
    "parts differ from the manifest; anything else in oberin-restore stops a restore that\r\n"
    "names no kit. It takes the run's own deletions off the restart list, then brings the\r\n"
    "folders and files back with their contents and attributes and the keys and values with\r\n"
    "their data and types; what is already as saved is left as it is, and a file that differs\r\n"
    "now is not overwritten. It writes oberin-restore.txt with a line per item (what stood\r\n"
    "there before, and what the restore did) and ends with exit code 0 when every item came\r\n"
    "back, 1 when some did not, 2 when it could not start. Restart Windows afterwards: the\r\n"
    "services and drivers whose keys came back are known again after the restart.\r\n"
    "\r\n"
    "What cannot come back:\r\n"
    "- what an uninstaller that the run started removed by itself;\r\n"
    "- the changes of the system's network setup, which the run starts after removing a network\r\n"
    "  product: check the adapters and bindings in the Network control panel;\r\n"
    "- Program Manager items and groups (Windows NT 3.51): create them again by hand;\r\n"
    "- the security of registry keys: restored keys get the security of their parent key.\r\n";
const char kNoSecurity[] =
    "\r\nThis kit lies on a volume that keeps no security (FAT): anyone may change it. The "
    "restore\r\n"
    "takes it only when its folder is named: \"oberin /restore <this folder>\".\r\n";
}  // namespace

std::string KitReadme(bool securedVolume) {
    return std::string(kReadme) + (securedVolume ? "" : kNoSecurity);
}
