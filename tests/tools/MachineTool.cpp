// machine.exe NAME: runs the machine case tests/machines/NAME and compares its log and change list
// with the expected files (see tests/README.md); exit code 0 when everything matches. With
// OBERIN_BLESS set it writes what it saw as the expected files instead.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <tuple>

#include "support/Machine.h"

namespace {
const DWORD kRunLimitMs = 20000;

// The settings of case.txt ("name | value" rows) over their defaults.
std::map<std::string, std::string> CaseSettings(const std::string& name) {
    std::map<std::string, std::string> settings = {
        {"windows", "nt40"}, {"runs", "1"}, {"directory", "C:\\server"}, {"log", ""}};
    for (const auto& row : CaseTable("machines\\" + name + "\\case.txt"))
        settings[row[0]] = row.back();
    if (settings["log"].empty()) settings["log"] = settings["directory"] + "\\oberin.log";
    return settings;
}

// The lines of expected that actual lacks ("  < ") and of actual that expected lacks ("  > ").
std::string Difference(const std::string& expected, const std::string& actual) {
    std::string text;
    for (const auto& [from, to, mark] :
         {std::tuple(expected, actual, "  < "), std::tuple(actual, expected, "  > ")}) {
        std::istringstream lines(from);
        for (std::string line; std::getline(lines, line);)
            if (("\n" + to).find("\n" + line + "\n") == std::string::npos)
                text += mark + line + "\n";
    }
    return text.empty() ? "  (the same lines in another order or number)\n" : text;
}

// Compares one result with its expected file (absent: expected absent too); true when equal.
bool Check(const std::string& folder, const std::string& name, const std::string& actual,
           bool present) {
    const std::string path = folder + "\\" + name;
    if (std::getenv("OBERIN_BLESS")) {
        if (present)
            WriteWholeFile(path, actual);
        else
            DeleteFileA(path.c_str());
        return true;
    }
    const bool expectedPresent = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string expected = ReadWholeFile(path);
    if (present == expectedPresent && expected == actual) return true;
    std::printf("MISMATCH %s (expected: < , actual: > )\n%s", name.c_str(),
                present == expectedPresent ? Difference(expected, actual).c_str()
                : present                  ? "  the run wrote it, none was expected\n"
                                           : "  the run did not write it\n");
    return false;
}

// Runs oberin.exe silently in directory and compares the log at log and what changed with the
// expected files of the run; true when all match.
bool RunAndCheck(const std::string& folder, std::map<std::string, std::string>& settings,
                 bool again) {
    const std::string directory = ExpandMachinePath(settings["directory"]),
                      log = ExpandMachinePath(settings["log"]);
    CreateDirectoryA(directory.c_str(), nullptr);
    const MachineState before = Snapshot();
    const bool otherVersion = settings["windows"] != "nt40";
    if (otherVersion) SetWindowsVersion(settings["windows"]);
    const long code = RunAndWait("\"" + BinDir() + "\\oberin.exe\" s", directory, kRunLimitMs);
    if (otherVersion) SetWindowsVersion("nt40");
    const MachineState after = Snapshot();
    bool same = code == 0;
    if (!same)
        std::printf("%s\n", code == kTimedOut ? "oberin.exe had not ended after 20 s"
                                              : ("exit code " + std::to_string(code)).c_str());
    const DWORD attributes = GetFileAttributesA(log.c_str());
    const bool logPresent =
        attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    const std::string logText = ReadWholeFile(log), changes = ChangeList(before, after);
    std::printf("=== %s\n%s=== what changed\n%s", log.c_str(), logText.c_str(), changes.c_str());
    const std::string suffix = again ? "-again" : "";
    same = Check(folder, "expected" + suffix + ".log", logText, logPresent) && same;
    return Check(folder, "expected" + suffix + ".changes", changes, true) && same;
}
}  // namespace

// machine NAME lays the case out and runs it; when the case asks for a second run it ends with
// 99, and the test bed restarts the machine (a new wineserver session carries out the restart
// list) and starts "machine NAME again", which runs it once more on what the restart left.
int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: machine NAME [again]\n");
        return 2;
    }
    const std::string name = argv[1], folder = TestsDir() + "\\machines\\" + name;
    const bool again = argc > 2;
    auto settings = CaseSettings(name);
    // Wine sets its display up when the first window needs it: before the first snapshot.
    GetDesktopWindow();
    if (again) return RunAndCheck(folder, settings, true) ? 0 : 1;
    MachineLayout layout(name);
    if (!RunAndCheck(folder, settings, false)) return 1;
    return settings["runs"] == "2" ? 99 : 0;
}
