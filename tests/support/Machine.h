#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

// The test tree and the built programs, as Windows paths (set by tests/bed/wine-run).
std::string TestsDir();
std::string BinDir();

// Runs commandLine in directory (empty: the current one), waits, and returns its exit code;
// -1 when it could not be started.
long RunAndWait(const std::string& commandLine, const std::string& directory = std::string());
// Exit code of oberin.exe run with arguments in directory.
long RunOberin(const std::string& arguments, const std::string& directory);

// Deletes path with everything below it (attributes cleared first).
void RemoveTree(const std::string& path);
// An empty folder at path (created with its parents, emptied when it was there).
std::string FreshFolder(const std::string& path);

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);

// Imports a REGEDIT4 file with the prefix's own regedit.
bool ImportRegistry(const std::string& regFile);
// Switches the prefix's Windows version with winecfg (nt40, nt351, win2k, ...).
bool SetWindowsVersion(const std::string& version);

// Wine lists the host's interfaces in a volatile NetworkCards key, below which nothing lasting
// can be made: it goes before the adapters of a test are laid out.
void ForgetHostNetworkCards();

// Replaces %SYSTEM%, %WINDOWS%, %COMMONPROGRAMS% and %USERPROGRAMS% (no trailing backslash).
std::string ExpandMachinePath(const std::string& path);

// One line of a fixture's files.txt: its kind and its path as written; no kind for a blank line
// or a comment.
struct ManifestEntry {
    std::string kind, path;
};
ManifestEntry ParseManifestLine(const std::string& line);
// The lines of tests/machines/NAME/files.txt (none without one), without their line ends.
std::vector<std::string> ManifestLines(const std::string& machine);

// A machine laid out from tests/machines/NAME: registry.reg (if any) imported, then the
// entries of files.txt (if any) created, an included fixture where its line stands. Files marked
// held stay open without delete sharing until the object goes.
class MachineLayout {
  public:
    explicit MachineLayout(const std::string& name);
    ~MachineLayout();
    MachineLayout(const MachineLayout&) = delete;
    MachineLayout& operator=(const MachineLayout&) = delete;

    // Applies one manifest line: a kind ("dir", "file", "readonly", "held", "service",
    // "driver") and a path, or "include" and the name of another fixture.
    void Add(const std::string& line);
    // Lays out tests/machines/NAME on top of what is there.
    void Include(const std::string& name);
    // Releases the files held open.
    void Release();

  private:
    std::vector<HANDLE> held_;
};

// A file held open without delete sharing until the object goes.
class HeldFile {
  public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool IsHeld() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

// One line per key, value, folder and file below the given places:
//   "key HKLM\path", "value HKLM\path\\name=type:hex", "dir C:\...", "file C:\...".
// A key written "-HKLM\path" leaves that subtree out.
using MachineState = std::set<std::string>;
MachineState Snapshot(const std::vector<std::string>& registryKeys,
                      const std::vector<std::string>& folders);
// The places a machine's snapshot covers: HKLM's SOFTWARE (of its Classes only the help-file
// type, which the run reads; the rest is large and slow to walk) and SYSTEM, the current
// user's Software (without Wine's own settings, which Wine rewrites in the background), the
// Windows directory and Program Files.
std::vector<std::string> MachineKeys();
std::vector<std::string> MachineFolders();

// Snapshot of MachineKeys() with all of HKLM\SOFTWARE\Classes and of MachineFolders(), plus
// "service NAME" for every service the service manager knows and "pending PATH" for every deletion
// scheduled for the restart.
MachineState WholeMachineSnapshot();

// Lines of before that after lacks.
std::vector<std::string> Removed(const MachineState& before, const MachineState& after);
// Lines of after that before lacks.
std::vector<std::string> Added(const MachineState& before, const MachineState& after);
