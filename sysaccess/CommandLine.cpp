#include "sysaccess/CommandLine.h"

#include <windows.h>

#include <algorithm>

#include "components/PathText.h"

namespace {
bool HasExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t folder = LastOf(path, "\\/");
    return dot != std::string::npos && (folder == std::string::npos || dot > folder);
}

DWORD Attributes(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool IsFile(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EndsInExe(const std::string& part) {
    return part.size() >= 4 && lstrcmpiA(part.c_str() + part.size() - 4, ".exe") == 0;
}

// The end of the first blank-bounded part that ends in ".exe"; npos when none does.
std::size_t EndOfExePart(const std::string& line) {
    for (std::size_t start = line.find_first_not_of(' '); start != std::string::npos;
         start = line.find_first_not_of(' ', start)) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (EndsInExe(line.substr(start, end - start))) return end;
        start = end;
    }
    return std::string::npos;
}

// True when the line goes on after the blank at end with the rest of a path, so that the part
// before it names a folder on the way, not a program: the next part holds a backslash and is
// no option, quoted or absolute path, or the text up to its first backslash names a folder.
bool ContinuesPath(const std::string& line, std::size_t end) {
    const std::size_t start = line.find_first_not_of(' ', end);
    if (start == std::string::npos) return false;
    const std::size_t stop = std::min(line.find_first_of(" \\", start), line.size());
    const char first = line[start];
    const bool argument = first == '-' || first == '/' || first == '"' || first == '\\' ||
                          (start + 1 < line.size() && line[start + 1] == ':');
    return (stop < line.size() && line[stop] == '\\' && !argument) ||
           IsFolder(line.substr(0, stop));
}

// The end of the longest part before a blank (or the whole line) that names an existing file
// and is no folder on the way; program is that file. npos when no part does.
std::size_t EndOfExistingProgram(const std::string& line, std::string& program) {
    for (std::size_t end = line.size(); end != std::string::npos && end > 0;
         end = line.rfind(' ', end - 1)) {
        if (line[end - 1] == ' ') continue;
        const std::string name = line.substr(0, end);
        program = HasExtension(name) ? name : name + ".exe";
        if (IsFile(program) && !ContinuesPath(line, end)) return end;
    }
    return std::string::npos;
}
}  // namespace

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string QuoteProgramPath(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') return commandLine;
    std::string program;
    std::size_t end = EndOfExePart(commandLine);
    if (end != std::string::npos) {
        program = commandLine.substr(0, end);
        if (!IsFile(program)) return std::string();
    } else {
        end = EndOfExistingProgram(commandLine, program);
        if (end == std::string::npos) return std::string();
    }
    if (program.find(' ') == std::string::npos) return commandLine;
    return Quoted(program) + commandLine.substr(end);
}
