#include "tools/CaseComparison.h"

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <tuple>

#include "support/Machine.h"

namespace {
// The change list without what a restore kit, the run's reports and its status files make
// differ: their lines and the text after them.
std::string Aside(const std::string& changes) {
    static const std::regex kAside(
        R"([-+] \w+ .*(\\oberin-restore(\\.*)?|\\oberin-\w+\.txt|\.MIF)( \(\d+ bytes\))?)");
    std::string kept;
    bool aside = false;
    std::istringstream lines(changes);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("    | ", 0) != 0) aside = std::regex_match(line, kAside);
        if (!aside) kept += line + "\n";
    }
    return kept;
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
}  // namespace

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

bool SameAs(const std::string& other, const std::string& suffix, const std::string& log,
            const std::string& changes) {
    const std::string folder = TestsDir() + "\\machines\\" + other + "\\expected" + suffix;
    const std::string expected = Aside(ReadWholeFile(folder + ".changes"));
    const bool sameLog = ReadWholeFile(folder + ".log") == log;
    if (!sameLog) std::printf("NOT AS %s: another log\n", other.c_str());
    if (expected == Aside(changes)) return sameLog;
    std::printf("NOT AS %s: another machine (%s: < , this run: > )\n%s", other.c_str(),
                other.c_str(), Difference(expected, Aside(changes)).c_str());
    return false;
}
