// machine.exe NAME: runs the machine case tests/machines/NAME and compares it with its expected
// files (see tests/README.md); exit code 0 when everything matches. With OBERIN_BLESS set it
// writes what it saw as the expected files instead.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "support/Machine.h"

namespace {
const DWORD kRunLimitMs = 20000;

// The settings of case.txt ("name value" lines) over their defaults.
std::map<std::string, std::string> CaseSettings(const std::string& folder) {
    std::map<std::string, std::string> settings = {
        {"windows", "nt40"}, {"runs", "1"}, {"directory", "C:\\server"}, {"log", ""}};
    std::istringstream lines(ReadWholeFile(folder + "\\case.txt"));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t blank = line.find(' ');
        if (line.empty() || line[0] == '#' || blank == std::string::npos) continue;
        settings[line.substr(0, blank)] = line.substr(blank + 1);
    }
    if (settings["log"].empty()) settings["log"] = settings["directory"] + "\\oberin.log";
    return settings;
}

// The lines of expected that actual lacks ("< ") and of actual that expected lacks ("> ").
std::string Difference(const std::string& expected, const std::string& actual) {
    std::multiset<std::string> want, got;
    std::istringstream a(expected), b(actual);
    for (std::string line; std::getline(a, line);) want.insert(line);
    for (std::string line; std::getline(b, line);) got.insert(line);
    std::string text;
    for (const std::string& line : want)
        if (want.count(line) > got.count(line)) text += "  < " + line + "\n";
    for (const std::string& line : got)
        if (got.count(line) > want.count(line)) text += "  > " + line + "\n";
    return text.empty() ? "  (the same lines in another order)\n" : text;
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
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: machine NAME\n");
        return 2;
    }
    const std::string name = argv[1], folder = TestsDir() + "\\machines\\" + name;
    auto settings = CaseSettings(folder);
    const std::string directory = ExpandMachinePath(settings["directory"]),
                      log = ExpandMachinePath(settings["log"]);
    // Wine sets its display up when the first window needs it: before the first snapshot.
    GetDesktopWindow();
    MachineLayout layout(name);
    CreateDirectoryA(directory.c_str(), nullptr);
    MachineState before = Snapshot();
    bool same = true;
    for (int run = 1; run <= std::atoi(settings["runs"].c_str()); ++run) {
        const bool otherVersion = settings["windows"] != "nt40";
        if (otherVersion) SetWindowsVersion(settings["windows"]);
        const long code = RunAndWait("\"" + BinDir() + "\\oberin.exe\" s", directory, kRunLimitMs);
        if (otherVersion) SetWindowsVersion("nt40");
        const MachineState after = Snapshot();
        if (code != 0) {
            std::printf("run %d: %s\n", run,
                        code == kTimedOut ? "oberin.exe had not ended after 20 s"
                                          : ("exit code " + std::to_string(code)).c_str());
            same = false;
        }
        const std::string suffix = run == 1 ? "" : "-again";
        const DWORD attributes = GetFileAttributesA(log.c_str());
        const bool logPresent =
            attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        const std::string logText = ReadWholeFile(log), changes = ChangeList(before, after);
        std::printf("=== run %d: %s\n%s=== run %d: what changed\n%s", run, log.c_str(),
                    logText.c_str(), run, changes.c_str());
        same = Check(folder, "expected" + suffix + ".log", logText, logPresent) && same;
        same = Check(folder, "expected" + suffix + ".changes", changes, true) && same;
        before = after;
    }
    return same ? 0 : 1;
}
