#include "support/ServerCatalog.h"

#include "run/SystemQueries.h"
#include "support/SnapshotPlaces.h"
#include "sysaccess/ProgramsFolders.h"

namespace {
const char kServices[] = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";
const char kEventLog[] = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System\\";
const char kVelmora[] = "HKLM\\SOFTWARE\\Velmora\\";
const char kLauncher[] = "HKLM\\SOFTWARE\\Velmora\\CPL Launcher\\";
const char kUninstall[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kCards[] = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";
const char kAgents[] =
    "HKLM\\SYSTEM\\CurrentControlSet\\Services\\SNMP\\Parameters\\ExtensionAgents";
const char kEnvironment[] =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\\\\";

std::string System(const std::string& name) {
    return SystemDirectory() + name;
}

std::string AdminTools(const std::string& name) {
    return CommonProgramsFolder() + "\\Administrative Tools (Common)\\" + name;
}

void Add(std::vector<std::string>& places, const std::string& prefix,
         std::initializer_list<const char*> names) {
    for (const char* name : names) places.push_back(prefix + name);
}

bool IsPlatformNoise(const std::string& path) {
    // Every process with a window registers the display's video device anew.
    for (const char* set : {"CurrentControlSet", "ControlSet001"})
        for (const char* kind : {"key ", "value "}) {
            const std::string video =
                std::string(kind) + "HKLM\\SYSTEM\\" + set + "\\Control\\Video\\";
            if (path.compare(0, video.size(), video) == 0) return true;
        }
    return false;
}

}  // namespace

std::vector<std::string> SampleServerRemovals() {
    std::vector<std::string> places;
    // Deployment upkeep utility: everything but upk.exe, which is in use.
    Add(places, System(""), {"upsc.exe", "up_fe.dll", "upio32.dll"});
    Add(places, "C:\\Program Files\\Velmora\\VDUU Source\\disk1\\setup\\",
        {"setup.log", "DATA.Z", "DDELINK.DLL", "SETUP.EXE", "SETUP.INS", "SETUP.ISS", "SETUP.PKG",
         "_INST32I.EX_", "_ISDEL.EXE", "_SETUP.DLL", "_SETUP.LIB"});
    Add(places, kUninstall, {"VDUU_2.10", "VDUU_2.20"});
    // What the two uninstallers took, and the log folder the utility removed after them.
    Add(places, "C:\\Program Files\\Velmora\\VDUU\\", {"2.10\\upkeep.dat", "2.10\\Logs", "2.20"});
    Add(places, CommonProgramsFolder() + "\\Velmora Products and Services\\",
        {"Velmora Deployment Upkeep Utility.lnk", "Service Partition Refresh Utility.lnk"});
    for (const char* user : {"Administrator", "Operator"})
        places.push_back(WindowsDirectory() + "Profiles\\" + user +
                         "\\Start Menu\\Programs\\Velmora Products and Services");
    // Tessnet3 and Intel adapter applets: the applets, shortcuts, monitor programs with their
    // start-up entries, and the teaming configuration.
    Add(places, System(""),
        {"tessnt3.cpl", "vlmttlx.cpl", "vlmttlx.exe", "VLMNTLX.CPL", "vlmset.cpl", "ntlxmon.exe"});
    Add(places, "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\\\",
        {"NTLXMON", "TTLXMON"});
    Add(places, kServices,
        {"VLMANC", "VLMNTC", "VLMANC1", "VLMANC2", "VLMNTC1",
         "VLMTN31\\Parameters\\VLMANCTransport", "E100B1\\Parameters\\VLMANCTransport",
         "E100B1\\Parameters\\VLMNTCTransport", "E100B2\\Parameters\\VLMANCTransport",
         "E100B2\\Parameters\\VLMNTCTransport", "E1000A1\\Parameters\\VLMANCTransport",
         "E1000A1\\Parameters\\VLMNTCTransport"});
    for (const char* value :
         {"SecondaryEisaCompressedId", "SecondaryDuplex", "SecondaryConnector",
          "SecondaryMediaSpeed", "SecondarySlotNumber", "SecondaryBusNumber", "SecondaryBusType",
          "SecondaryPhyType", "SecondaryIrq", "SecondaryIoSpaceLength", "SecondaryIoBaseAddress",
          "SecondaryDeviceFunctionNumber", "SecondaryPortNumber", "SecondaryMediaType",
          "SecondaryRemoteWakeUpEnable"})
        places.push_back(std::string(kServices) + "VLMTN31\\Parameters\\\\" + value);
    Add(places, kCards, {"4", "5", "6"});
    places.push_back(std::string(kVelmora) + "VLMANCTransport");
    // Disk array setup utility.
    places.push_back(System("vlmdsu"));
    Add(places, System(""),
        {"VLMDAENG.HLP", "VLMDAJPN.HLP", "VLMDAGER.HLP", "VLMDAITA.HLP", "VLMDASPA.HLP",
         "VLMDAFRN.HLP"});
    places.push_back(AdminTools("Velmora Disk Array Setup Utility.lnk"));
    places.push_back(std::string(kVelmora) + "Disk Array Setup Utility");
    // The control-panel tools: all but the front panel display's executable, which is in use.
    Add(places, System(""),
        {"VLMLCD.HLP",  "VLMLCD.CNT",  "VLMLSW.CPL",  "VLMEJVW.EXE", "VLMEJVW.HLP",
         "VLMEJVW.CNT", "FOAMON.EXE",  "VLMPCI.EXE",  "VLMPCI.CNT",  "VLMPCI.HLP",
         "VLMSFAD.EXE", "VLMSFAD.HLP", "VLMSFAD.CNT", "VLMSDW.EXE",  "VLMSDW.HLP",
         "VLMSDW.CNT",  "VLMPFM.EXE",  "VLMPFM.HLP",  "VLMPFM.CNT",  "vlmcau"});
    Add(places, kLauncher,
        {"VLMDSU", "VLMLCD", "VLMEJVW", "VLMSFAD", "VLMPCI", "VLMSDW", "VLMPFM", "VLMCAUTL"});
    // Management agents, with the PATROL agent.
    places.push_back(System("vlmmgmt.cpl"));
    places.push_back(UserProgramsFolder() + "\\Velmora Products and Services");
    Add(places, kServices,
        {"VLMMGMT", "VlMgHost", "VlMgServ", "VlMgStor", "VLMNicMgmt", "VLMWebMgmt", "VLMSDM",
         "VNMPROT", "patfvlm", "patrolagent"});
    places.push_back(std::string(kVelmora) + "VLMInstall");
    for (const char* agent : {"VLMNICS", "VLMNISNMP", "VLMSERVSNMP", "VLMSNMP", "VLMSTORSNMP",
                              "VLMHOSTSNMP", "VLMMIB1K"}) {
        places.push_back(std::string(kAgents) + "\\\\" + agent);
        places.push_back(std::string(kAgents) + "\\" + agent);
    }
    places.push_back("HKLM\\SOFTWARE\\BMC Software\\PATROL for Lumenar Manager");
    Add(places, kUninstall, {"PATROL for Lumenar Manager", "Velmora Management Agents"});
    Add(places, kEnvironment,
        {"PATROL_ADMIN", "PATROL_HOME", "PATROL_TEMP", "PFC_HOME", "TMP_PATROL"});
    // Remote watch service and the board driver (their main files in use), the WAN driver with
    // its card, and the health driver.
    Add(places, System(""), {"vlmrpcl.dll", "vlmrscsmn.dll", "vlmrnicmn.dll"});
    Add(places, kServices, {"vlmrwsv", "VLMRLB"});
    Add(places, kEventLog, {"vlmrwsv", "VLMRLB"});
    places.push_back(std::string(kVelmora) + "VlmRwsv");
    Add(places, System(""), {"drivers\\rlbwan.sys", "vlrlblnk.exe"});
    places.push_back(std::string(kVelmora) + "RLBWAN");
    places.push_back(std::string(kCards) + "20");
    Add(places, kServices, {"RLBWAN20", "RLBWAN", "VlRlbLnk"});
    places.push_back("service RLBWAN");
    places.push_back("HKLM\\SOFTWARE\\Microsoft\\Windows NT\\RAS\\TAPI DEVICES\\RLBWAN");
    Add(places, kEventLog, {"RLBWAN", "VlRlbLnk"});
    Add(places, System(""), {"drivers\\hwwatch.sys", "drivers\\hwdown.exe", "vlmshut.cmd"});
    Add(places, kServices, {"HwWatch", "HwDown"});
    Add(places, kEventLog, {"HwWatch", "HwDown"});
    // Failover agent monitor and the teaming transports.
    Add(places, System(""), {"FOADMIN.CPL", "FOADMIN.HLP", "FOAMON.HLP"});
    places.push_back(AdminTools("Velmora Failover Agent Monitor.lnk"));
    places.push_back(std::string(kVelmora) + "VLMNTSWK");
    Add(places, kServices, {"VLMNTCTransport", "VLMANCTransport"});
    // The shared Start-menu folder stays: other products' shortcuts are left in it.
    Add(places, CommonProgramsFolder() + "\\Velmora System Tools\\",
        {"Velmora Net.lnk", "Velmora Network.lnk", "Velmora TLAN Network.lnk",
         "Velmora Disk Array Setup Utility.lnk", "Velmora Front Panel Status Display.lnk",
         "Velmora Front Panel Status Display Utility.lnk", "Velmora Event Journal Viewer.lnk",
         "Velmora Online Storage Failover Assistant Utility.lnk",
         "Velmora On-line Standby Server Option.lnk", "Velmora PCI Live Swap.lnk",
         "Velmora PCI Live Swap Utility.lnk", "Velmora Online Storage Failover.lnk",
         "Velmora Shutdown Switch Utility.lnk", "Velmora Shutdown Scheduler.lnk",
         "Velmora Power Feed Monitor.lnk", "Velmora Cluster Audit.lnk"});
    return places;
}

std::vector<std::string> HeldMainFiles() {
    return {System("upk.exe"), System("VLMLCD.EXE"), System("vlmrwsv.exe"),
            System("drivers\\vlmrlb.sys")};
}

std::vector<std::string> SampleServerRewrites() {
    std::vector<std::string> places = {std::string(kServices) +
                                       "VLMTN31\\Parameters\\\\OperatingMode"};
    for (const char* list : {"Linkage", "Linkage\\Disabled"})
        for (const char* value : {"Bind", "Export", "Route"})
            places.push_back(std::string(kServices) + "OtNbt\\" + list + "\\\\" + value);
    return places;
}

std::vector<std::string> SampleServerCreations() {
    return {std::string(kServices) + "VLMTN32\\Parameters"};
}

MachineState ServerState() {
    return WholeMachineSnapshot();
}

ServerChanges ChangesOf(const MachineState& before, const MachineState& after) {
    std::set<std::string> gone, came;
    for (const std::string& line : Removed(before, after))
        if (!IsPlatformNoise(line)) gone.insert(KindAndPath(line));
    for (const std::string& line : Added(before, after))
        if (!IsPlatformNoise(line)) came.insert(KindAndPath(line));
    ServerChanges changes;
    for (const std::string& path : gone)
        (came.count(path) ? changes.rewritten : changes.removed).insert(path);
    for (const std::string& path : came)
        if (!gone.count(path)) changes.added.insert(path);
    return changes;
}

std::set<std::string> PathsAt(const MachineState& state, const std::vector<std::string>& places) {
    std::set<std::string> paths;
    for (const std::string& line : LinesAt(state, places)) paths.insert(KindAndPath(line));
    return paths;
}

std::vector<std::string> LogLines(const std::string& log) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = log.find('\n'); end != std::string::npos;
         start = end + 1, end = log.find('\n', start))
        lines.push_back(log.substr(start, end - start + 1));
    if (start < log.size()) lines.push_back(log.substr(start));
    return lines;
}

std::set<std::string> RestartList(const MachineState& state) {
    return PathsAt(state, {"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session "
                           "Manager\\\\PendingFileRenameOperations"});
}

std::pair<std::set<std::string>, std::set<std::string>> Mismatch(
    const std::set<std::string>& expected, const std::set<std::string>& actual) {
    std::pair<std::set<std::string>, std::set<std::string>> mismatch;
    for (const std::string& path : expected)
        if (!actual.count(path)) mismatch.first.insert(path);
    for (const std::string& path : actual)
        if (!expected.count(path)) mismatch.second.insert(path);
    return mismatch;
}

std::string Golden(const std::string& machine, const std::string& name) {
    return ReadWholeFile(TestsDir() + "\\machines\\" + machine + "\\" + name);
}
