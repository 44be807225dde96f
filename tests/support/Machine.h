#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "support/RemoveTree.h"

// The test tree and the built programs, as Windows paths (set by tests/bed/wine-run).
std::string TestsDir();
std::string BinDir();

// What RunAndWait gives for a program still running at its time limit (it is then ended).
const long kTimedOut = -2;
// Runs commandLine in directory (empty: the current one) and returns its exit code; -1 when it
// could not be started, kTimedOut when it had not ended after limitMs.
long RunAndWait(const std::string& commandLine, const std::string& directory = std::string(),
                DWORD limitMs = 20000);

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
// An empty folder at path, whatever was there.
std::string FreshFolder(const std::string& path);

// The rows of a table of cases, tests/FILE: one row a line, its fields separated by " | ", "\xNN"
// standing for the byte NN; blank lines and lines starting with "#" are left out.
std::vector<std::vector<std::string>> CaseTable(const std::string& file);

// Services made through the service manager itself (Wine's manager knows a service written into
// the registry only after the next wineserver start): a demand-start service of the given type,
// whose binary need not exist; false when the manager refuses it. Deleting it takes its key too.
bool CreateTestService(const std::string& name, DWORD type, const std::string& binary);
void DeleteTestService(const std::string& name);

// Switches the prefix's Windows version (nt40, nt351, win2k) for the programs started after it:
// imports bed/VERSION.reg, the values winecfg writes for it and Wine's own setting.
bool SetWindowsVersion(const std::string& version);

// The newest restore kit in folder whose time stamp is not in the future; empty when none.
std::string NewestKit(const std::string& folder);
// Replaces %SYSTEM%, %WINDOWS%, %COMMONPROGRAMS%, %USERPROGRAMS% (no trailing backslash), %BIN%,
// %TESTS% and %KIT% (the newest restore kit in the current directory's oberin-restore folder).
std::string ExpandMachinePath(const std::string& path);

// Where a value's name starts in "KEY\\NAME": its two backslashes (never a trail byte); npos.
std::size_t ValueNameMark(const std::string& text);

// Case files are UTF-8; the machine's text is in its ANSI code page. Each to the other.
std::string MachineText(const std::string& utf8);
std::string CaseText(const std::string& machineText);

// A machine laid out from tests/machines/NAME: registry.reg (if any) imported, then the lines of
// files.txt (if any) applied; see tests/README.md for the kinds of line. Files marked held stay
// open without delete sharing, programs marked running run, and a lock line holds Oberin's run
// lock, until the object goes. On a machine of a language (bed/language-LANGUAGE.reg), that
// language's system values are imported first and again after each registry.reg, whose English
// shell folders they replace.
class MachineLayout {
  public:
    explicit MachineLayout(const std::string& name, const std::string& language = std::string());
    ~MachineLayout();
    MachineLayout(const MachineLayout&) = delete;
    MachineLayout& operator=(const MachineLayout&) = delete;

  private:
    void Include(const std::string& name);
    // Imports REGEDIT4 text, given in UTF-8, with the machine's regedit.
    void Import(std::string registry);
    void Add(const std::string& kind, const std::string& argument);
    // Starts a copy of the test uninstaller at path, left running until the layout ends.
    void Run(const std::string& path);

    std::string language_;
    std::vector<HANDLE> held_;
    std::vector<HANDLE> running_;
};

// One line per key, value, folder, file, service and restart-time deletion of the machine:
//   "key HKLM\path", "value HKLM\path\\name = sz:text\0", "dir C:\...", "file C:\... (N bytes)",
//   "service NAME", "pending 3 C:\...".
// Covered: HKLM\SOFTWARE (of its Classes only the help-file type, which the run reads),
// HKLM\SYSTEM, the current user's Software without Wine's own settings, drive C: and the
// service manager's services.
using MachineState = std::set<std::string>;
MachineState Snapshot();

// What changed from before to after, one line each, "- " for what went and "+ " for what came,
// paths written with their tokens and a restore kit's time stamp as %STAMP%; the text of each
// file that came follows its line: the program's reports (oberin-*.txt) and small text files, not
// its log nor the files of a restore kit, which are shown without their size.
std::string ChangeList(const MachineState& before, const MachineState& after);

// The lines of before that are gone from after (not merely changed: a file of another size, a
// value with other data) without a file's size or a value's data; restart-time deletions aside.
std::vector<std::string> Removed(const MachineState& before, const MachineState& after);
