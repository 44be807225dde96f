#include "restore/MachineIdentity.h"

#include <windows.h>

#include <vector>

#include "core/ProgramIdentity.h"

namespace {
const char kMachine[] = "machine";

bool SameText(const std::string& one, const std::string& other) {
    return lstrcmpiA(one.c_str(), other.c_str()) == 0;
}
}  // namespace

std::vector<std::string> TabFields(const std::string& line) {
    std::vector<std::string> fields;
    for (std::size_t start = 0, tab;; start = tab + 1) {
        tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
    }
}

MachineIdentity MachineIdentity::Current() {
    MachineIdentity machine;
    char name[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD size = sizeof name;
    if (GetComputerNameA(name, &size)) machine.computer = name;
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    machine.windowsFolder = folder;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    machine.version =
        std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion);
    machine.build = std::to_string(version.dwBuildNumber & 0xFFFF);
    machine.program = kProgramVersion;
    return machine;
}

std::string MachineIdentity::ManifestLine() const {
    return std::string(kMachine) + "\t" + computer + "\t" + windowsFolder + "\t" + version + "\t" +
           build + "\t" + program + "\r\n";
}

bool MachineIdentity::Parse(const std::string& line) {
    const std::vector<std::string> fields = TabFields(line);
    if (fields.size() != 6 || fields[0] != kMachine || fields[1].empty()) return false;
    *this = {fields[1], fields[2], fields[3], fields[4], fields[5]};
    return true;
}

bool MachineIdentity::SameMachine(const MachineIdentity& other) const {
    return SameText(computer, other.computer) && SameText(windowsFolder, other.windowsFolder) &&
           version == other.version && build == other.build;
}

std::string MachineIdentity::Shown() const {
    return computer + " (" + windowsFolder + ", Windows " + version + " build " + build + ")";
}
