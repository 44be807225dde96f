// machine.exe NAME: runs the steps of the machine case tests/machines/NAME and compares each run's
// log and change list with the expected files (see tests/README.md); exit code 0 when everything
// matches. With OBERIN_BLESS set it writes what it saw as the expected files instead.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <utility>

#include "base/PathText.h"
#include "core/LogFile.h"
#include "support/Machine.h"
#include "support/MachineLayout.h"
#include "support/MachinePaths.h"
#include "support/MachineState.h"
#include "tools/CaseComparison.h"

namespace {
const DWORD kRunLimitMs = 20000;

// The settings of case.txt ("name | value" rows) over their defaults.
std::map<std::string, std::string> CaseSettings(const std::string& name) {
    std::map<std::string, std::string> settings = {{"windows", "nt40"},
                                                   {"steps", "s"},
                                                   {"directory", "C:\\server"},
                                                   {"log", ""},
                                                   {"program", "%BIN%\\oberin.exe"}};
    for (const auto& row : CaseTable("machines\\" + name + "\\case.txt"))
        settings[row[0]] = row.back();
    if (settings["log"].empty()) settings["log"] = settings["directory"] + "\\oberin.log";
    return settings;
}

// The items of a comma-separated list, without the blanks around them.
std::vector<std::string> Steps(const std::string& list) {
    std::vector<std::string> steps;
    std::istringstream items(list);
    for (std::string item; std::getline(items, item, ',');) {
        item.erase(0, item.find_first_not_of(' '));
        steps.push_back(item.erase(item.find_last_not_of(' ') + 1));
    }
    return steps;
}

// What a restart must not lose: the next step and the machine before the first step, kept in
// the temp folder, which lies outside the snapshots.
struct Progress {
    std::size_t step = 0;
    MachineState first;
};

std::string ProgressPath() {
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "machine-case.txt";
}

void SaveProgress(const Progress& progress) {
    std::string text = std::to_string(progress.step) + "\n";
    for (const std::string& line : progress.first) text += line + "\n";
    WriteWholeFile(ProgressPath(), text);
}

Progress LoadProgress() {
    Progress progress;
    std::istringstream lines(ReadWholeFile(ProgressPath()));
    lines >> progress.step;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) progress.first.insert(line);
    return progress;
}

// When the file at path was last written; 0 when there is none.
ULONGLONG WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32 |
           data.ftLastWriteTime.dwLowDateTime;
}

const char kServicesKey[] = "HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\";

// The actions and targets of a preview's lines ("N<TAB>action<TAB>target..."), in upper case; a
// service's deletion names its key, which goes with it.
std::vector<std::pair<std::string, std::string>> PreviewTargets(const std::string& preview) {
    std::vector<std::pair<std::string, std::string>> targets;
    std::istringstream lines(UpperCase(preview));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line.substr(0, line.find('\r')));
        std::string number, action, target;
        if (std::getline(std::getline(std::getline(fields, number, '\t'), action, '\t'), target,
                         '\t'))
            targets.emplace_back(action, (action == "DELETE SERVICE" ? kServicesKey : "") + target);
    }
    return targets;
}

// Whether the preview's targets name path (in upper case): it or a folder or key above it is a
// target, or stands whole (followed by a blank, a quote or the end) in an uninstaller's command
// line: the uninstaller deletes it.
bool Named(const std::vector<std::pair<std::string, std::string>>& targets, std::string path) {
    for (;;) {
        for (const auto& [action, target] : targets) {
            if (target == path) return true;
            if (action == "RUN UNINSTALLER")
                for (std::size_t at = target.find(path); at != std::string::npos;
                     at = target.find(path, at + 1))
                    if (std::strchr(" \"", target[at + path.size()])) return true;
        }
        const std::size_t cut = LastBackslash(path);
        if (cut == std::string::npos) return false;
        path.erase(cut);
    }
}

// Whether the preview names each item that a run removed (lines of Removed); a service is named
// by its key. Prints the items it does not name; true when there are none.
bool Previewed(const std::string& preview, const std::vector<std::string>& removed) {
    const auto targets = PreviewTargets(preview);
    bool all = true;
    for (const std::string& item : removed) {
        // The path as the preview writes it: the root in full, a value's name after one backslash.
        const std::size_t blank = item.find(' ');
        std::string path = UpperCase(item.substr(blank + 1));
        if (path.rfind("HKLM\\", 0) == 0) path.replace(0, 4, "HKEY_LOCAL_MACHINE");
        if (path.rfind("HKCU\\", 0) == 0) path.replace(0, 4, "HKEY_CURRENT_USER");
        if (const std::size_t name = ValueNameMark(path);
            name != std::string::npos && item.compare(0, blank, "value") == 0)
            path.erase(name, 1);
        if (item.compare(0, blank, "service") == 0) path = kServicesKey + path;
        if (Named(targets, path)) continue;
        if (all) std::printf("NOT IN THE PREVIEW\n");
        std::printf("  %s\n", CaseText(item).c_str());
        all = false;
    }
    return all;
}

// Runs oberin.exe with arguments in the case's directory and compares its exit code, the log it
// wrote and what changed with the expected files of run number run; with preview-names, checks
// a cleanup run against the preview left beside the log before it. machine: the machine as it
// is now, when known (else it is taken), and as the run left it afterwards. True when all match.
bool RunAndCheck(const std::string& folder, std::map<std::string, std::string>& settings,
                 const std::string& arguments, std::size_t run,
                 std::optional<MachineState>& machine) {
    const std::string log = ExpandMachinePath(settings["log"]);
    const std::string preview = ReadWholeFile(BesideLog(log, "oberin-preview.txt"));
    const ULONGLONG logTime = WriteTime(log);
    const MachineState before = machine ? std::move(*machine) : Snapshot();
    const bool otherVersion = settings["windows"] != "nt40";
    if (otherVersion) SetWindowsVersion(settings["windows"]);
    const long code = RunAndWait(
        "\"" + ExpandMachinePath(settings["program"]) + "\" " + ExpandMachinePath(arguments),
        ExpandMachinePath(settings["directory"]), kRunLimitMs);
    if (otherVersion) SetWindowsVersion("nt40");
    machine = Snapshot();
    const MachineState& after = *machine;
    bool same = code != kTimedOut;
    if (!same) std::printf("oberin.exe had not ended after 20 s\n");
    const ULONGLONG logWriteTime = WriteTime(log);
    const bool logWritten = logWriteTime != 0 && logWriteTime != logTime;
    // What the machine wrote in its code page, compared as the case's UTF-8.
    const std::string logText = logWritten ? CaseText(ReadWholeFile(log)) : "",
                      changes = "exit " + std::to_string(code) + "\n" +
                                CaseText(ChangeList(before, after));
    std::printf("=== oberin.exe %s\n=== %s\n%s=== what changed\n%s", arguments.c_str(), log.c_str(),
                logText.c_str(), changes.c_str());
    const std::string suffix = run > 1 ? "-" + std::to_string(run) : "";
    same = Check(folder, "expected" + suffix + ".log", logText, logWritten) && same;
    same = Check(folder, "expected" + suffix + ".changes", changes, true) && same;
    if (!settings["same-as"].empty())
        same = SameAs(settings["same-as"], suffix, logText, changes) && same;
    if (settings["preview-names"] == "yes" && (arguments[0] == 's' || arguments[0] == 'S'))
        same = Previewed(preview, Removed(before, after)) && same;
    return same;
}
}  // namespace

// A restart, and the computer name the machine comes back with ("restart as NAME"; a plain
// restart: the host's own), which the test bed reads from the file it names.
bool IsRestart(const std::string& step) {
    return step == "restart" || step.rfind("restart as ", 0) == 0;
}

void NameNextStart(const std::string& step) {
    const std::string file = Environment("OBERIN_COMPUTER_FILE");
    if (!file.empty()) WriteWholeFile(file, step == "restart" ? "" : step.substr(11));
}

// machine NAME lays the case out and runs its steps. At a restart it ends with 99, and the test bed
// restarts the machine (a new wineserver session carries out the restart list) and starts
// "machine NAME again", which goes on with the next step on what the restart left.
int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: machine NAME [again]\n");
        return 2;
    }
    const std::string name = argv[1], folder = TestsDir() + "\\machines\\" + name;
    const bool again = argc > 2;
    auto settings = CaseSettings(name);
    const std::vector<std::string> steps = Steps(settings["steps"]);
    const bool whole = settings["whole"] == "yes";
    // Wine sets its display up when the first window needs it: before the first snapshot.
    GetDesktopWindow();
    Progress progress = again ? LoadProgress() : Progress();
    std::optional<MachineLayout> layout;
    if (!again) {
        layout.emplace(name, settings["language"]);
        CreateDirectoryA(ExpandMachinePath(settings["directory"]).c_str(), nullptr);
        if (whole) progress.first = Snapshot();
    }
    // %KIT% in a layout step is the newest kit beside the case's log.
    SetCurrentDirectoryA(ExpandMachinePath(settings["directory"]).c_str());
    // The machine as the last run left it, the next run's before, until a layout step changes it.
    std::optional<MachineState> machine;
    for (; progress.step < steps.size(); ++progress.step) {
        const std::string& step = steps[progress.step];
        if (IsRestart(step)) {
            ++progress.step;
            SaveProgress(progress);
            NameNextStart(step);
            return 99;
        }
        if (step.rfind("layout ", 0) == 0) {
            MachineLayout(step.substr(7), settings["language"]);
            machine.reset();
            continue;
        }
        const std::size_t run =
            1 + std::count_if(steps.begin(), steps.begin() + progress.step,
                              [](const std::string& earlier) {
                                  return !IsRestart(earlier) && earlier.rfind("layout ", 0) != 0;
                              });
        if (!RunAndCheck(folder, settings, step, run, machine)) return 1;
    }
    if (!whole) return 0;
    const std::string changes = CaseText(ChangeList(progress.first, Snapshot()));
    std::printf("=== what all the steps changed\n%s", changes.c_str());
    return Check(folder, "expected-whole.changes", changes, true) ? 0 : 1;
}
