#include "sysaccess/CommandLine.h"

#include <windows.h>

#include <algorithm>

#include "base/PathText.h"
#include "base/SystemQueries.h"

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

// path without backslashes at its end, to be compared.
std::string Unslashed(std::string path) {
    while (!path.empty() && (EndsInBackslash(path) || path.back() == '/')) path.pop_back();
    return path;
}

// Where the system looks for a program started by name, but this program's own folder and the
// current directory: the system directory, the Windows directory and PATH's absolute folders.
std::string ProgramSearchPath() {
    char buffer[MAX_PATH] = "";
    const std::string current = Unslashed(GetCurrentDirectoryA(MAX_PATH, buffer) ? buffer : "");
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    const std::string own = Unslashed(std::string(buffer).substr(0, LastBackslash(buffer)));
    std::string folders = SystemDirectory() + ";" + WindowsDirectory();
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    std::string path(size, '\0');
    path.resize(GetEnvironmentVariableA("PATH", &path[0], size));
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find(';', start), path.size());
        const std::string folder = path.substr(start, end - start), same = Unslashed(folder);
        const bool absolute = folder.size() > 2 && (folder.compare(1, 2, ":\\") == 0 ||
                                                    folder.compare(0, 2, "\\\\") == 0);
        if (absolute && lstrcmpiA(same.c_str(), current.c_str()) != 0 &&
            lstrcmpiA(same.c_str(), own.c_str()) != 0)
            folders += ";" + folder;
        start = end + 1;
    }
    return folders;
}

// Whether a program's name has no folder, so that the system would search for it.
bool IsBareName(const std::string& name) {
    return FirstOf(name, "\\/:", 0) == std::string::npos;
}

// The program a command line names, where it is: ".exe" added to a name without an extension, a
// name with a folder as it stands, a bare name as ProgramSearchPath finds it; empty when it is no
// file there.
std::string Located(const std::string& name) {
    const std::string program = HasExtension(name) ? name : name + ".exe";
    if (!IsBareName(program)) return IsFile(program) ? program : "";
    char found[MAX_PATH] = "";
    const DWORD length = SearchPathA(ProgramSearchPath().c_str(), program.c_str(), nullptr,
                                     MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH && IsFile(found) ? found : "";
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
    const std::size_t stop = std::min(FirstOf(line, " \\", start), line.size());
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
        program = Located(name);
        if (!program.empty() && !ContinuesPath(line, end)) return end;
    }
    return std::string::npos;
}
}  // namespace

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string QuoteProgramPath(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') {
        // A quoted name without a folder is looked for like any other.
        const std::size_t close = commandLine.find('"', 1);
        const std::string name = commandLine.substr(1, close - 1);
        if (close == std::string::npos || !IsBareName(name)) return commandLine;
        const std::string program = Located(name);
        return program.empty() ? program : Quoted(program) + commandLine.substr(close + 1);
    }
    std::string program;
    std::size_t end = EndOfExePart(commandLine);
    if (end != std::string::npos) {
        program = Located(commandLine.substr(0, end));
        if (program.empty()) return std::string();
    } else {
        end = EndOfExistingProgram(commandLine, program);
        if (end == std::string::npos) return std::string();
    }
    const bool blanks = program.find(' ') != std::string::npos;
    if (!blanks && !IsBareName(commandLine.substr(0, end))) return commandLine;
    return (blanks ? Quoted(program) : program) + commandLine.substr(end);
}
