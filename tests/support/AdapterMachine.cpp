#include "support/AdapterMachine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "run/SystemQueries.h"
#include "support/SnapshotPlaces.h"
#include "sysaccess/ProgramsFolders.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kCards[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char* const kServices[] = {
    "E100B1",  "E100B2",  "E1000A1", "Other1", "VLMANC1", "VLMANC2",         "VLMNTC1",
    "VLMTN31", "VLMTN32", "OtNbt",   "VLMANC", "VLMNTC",  "VLMANCTransport", "VLMNTCTransport"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void Sort(const std::vector<std::string>& lines, std::set<std::string>& keys,
          std::set<std::string>& values, std::set<std::string>& files) {
    for (const std::string& line : lines) {
        if (line.compare(0, 4, "key ") == 0) keys.insert(Lower(PathOf(line)));
        if (line.compare(0, 6, "value ") == 0) values.insert(Lower(PathOf(line)));
        if (line.compare(0, 5, "file ") == 0 || line.compare(0, 4, "dir ") == 0)
            files.insert(Lower(PathOf(line)));
    }
}
}  // namespace

void ClearAdapterMachine() {
    ForgetHostNetworkCards();
    for (const char* service : kServices)
        RegistryKey(std::string("SYSTEM\\CurrentControlSet\\Services\\") + service).DeleteTree();
    RegistryKey("SOFTWARE\\Velmora").DeleteTree();
    RegistryKey("SOFTWARE\\VelmoraTestNet").DeleteTree();
    RegistryKey run("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    for (const char* value : {"NTLXMON", "TTLXMON", "Other"}) run.DeleteValue(value);
    for (const char* file :
         {"tessnt3.cpl", "vlmttlx.cpl", "vlmttlx.exe", "VLMNTLX.CPL", "vlmset.cpl", "ntlxmon.exe",
          "FOADMIN.CPL", "FOADMIN.HLP", "FOAMON.HLP"})
        DeleteFileA((SystemDirectory() + file).c_str());
    RemoveTree(CommonProgramsFolder() + "\\Velmora System Tools");
    DeleteFileA((CommonProgramsFolder() +
                 "\\Administrative Tools (Common)\\Velmora Failover Agent Monitor.lnk")
                    .c_str());
}

void LayOutAdapterMachine(std::vector<std::string> extraFiles) {
    ClearAdapterMachine();
    MachineLayout layout("adapter-teaming");
    for (const std::string& line : extraFiles) layout.Add(line);
    ASSERT_TRUE(RegistryKey(AdapterListEntry("7").substr(5)).Exists());
}

MachineState AdapterMachineState() {
    return Snapshot(
        {"HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards",
         "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "HKLM\\SOFTWARE\\Velmora",
         "HKLM\\SOFTWARE\\VelmoraTestNet", "HKLM\\SYSTEM\\CurrentControlSet\\Services"},
        {MachineFolders().front(), CommonProgramsFolder()});
}

Changes ChangesBetween(const MachineState& before, const MachineState& after) {
    Changes changes;
    Sort(Removed(before, after), changes.removedKeys, changes.removedValues, changes.removedFiles);
    Sort(Added(before, after), changes.addedKeys, changes.addedValues, changes.addedFiles);
    return changes;
}

std::string Folded(const std::string& path) {
    return Lower(path);
}

std::string AdapterListEntry(const std::string& name) {
    return Lower(std::string("HKLM\\") + kCards + "\\" + name);
}

std::string ServiceKey(const std::string& service) {
    return Lower("HKLM\\SYSTEM\\CurrentControlSet\\Services\\" + service);
}

std::string ValuePath(const std::string& key, const std::string& value) {
    return Lower(key + "\\\\" + value);
}

std::string SystemFile(const std::string& name) {
    return Lower(SystemDirectory() + name);
}

std::string ToolsShortcut(const std::string& name) {
    return Lower(CommonProgramsFolder() + "\\Velmora System Tools\\" + name);
}

std::set<std::string> TeamingParameters(const std::vector<std::string>& services) {
    std::set<std::string> keys;
    for (const std::string& service : services)
        for (const char* transport : {"VLMANCTransport", "VLMNTCTransport"})
            keys.insert(ServiceKey(service + "\\Parameters\\" + transport));
    return keys;
}

std::set<std::string> VirtualAdapters() {
    return {ServiceKey("VLMANC1"),
            ServiceKey("VLMANC1\\Parameters"),
            ServiceKey("VLMANC2"),
            ServiceKey("VLMANC2\\Parameters"),
            ServiceKey("VLMNTC1"),
            ServiceKey("VLMNTC1\\Parameters"),
            AdapterListEntry("4"),
            AdapterListEntry("5"),
            AdapterListEntry("6"),
            "hklm\\software\\velmora\\vlmanctransport",
            "hklm\\software\\velmora\\vlmanctransport\\teams"};
}

std::vector<std::string> TransportBindings(bool disabled) {
    std::vector<std::string> entries;
    HKEY key;
    const std::string path = std::string("SYSTEM\\CurrentControlSet\\Services\\OtNbt\\Linkage") +
                             (disabled ? "\\Disabled" : "");
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return entries;
    char data[2048] = {};
    DWORD size = sizeof data - 2;
    if (RegQueryValueExA(key, "Bind", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS)
        for (const char* entry = data; *entry; entry += strlen(entry) + 1) entries.push_back(entry);
    RegCloseKey(key);
    return entries;
}
