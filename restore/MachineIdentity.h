#pragma once
#include <string>
#include <vector>

// The machine a restore kit was made on and the program that made it, as the kit's manifest
// records them, so that a restore takes only what was saved on the machine it runs on.
struct MachineIdentity {
    std::string computer;
    std::string windowsFolder;
    // "4.0", the build number and the program's version.
    std::string version;
    std::string build;
    std::string program;

    // This machine and program; the computer name empty when it cannot be read.
    static MachineIdentity Current();
    // The manifest's line, with its line end: "machine", then the fields, tab-separated.
    std::string ManifestLine() const;
    // The fields of a manifest line without its line end; false when it is none.
    bool Parse(const std::string& line);
    // Whether both name the same computer, Windows folder, version and build (names in any case).
    bool SameMachine(const MachineIdentity& other) const;
    // "NAME (C:\WINNT, Windows 4.0 build 1381)".
    std::string Shown() const;
};

// The tab-separated fields of a manifest line.
std::vector<std::string> TabFields(const std::string& line);
