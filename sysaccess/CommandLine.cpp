#include "sysaccess/CommandLine.h"

#include <windows.h>

namespace {
bool HasExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t folder = path.find_last_of("\\/");
    return dot != std::string::npos && (folder == std::string::npos || dot > folder);
}

// The file the system would start for name, ".exe" added to a name without extension; empty
// when there is no such file.
std::string ExistingProgram(const std::string& name) {
    const std::string file = HasExtension(name) ? name : name + ".exe";
    const DWORD attributes = GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string();
    return file;
}
}  // namespace

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string QuoteProgramPath(const std::string& commandLine) {
    if (commandLine.empty() || commandLine[0] == '"') return commandLine;
    // The parts ending before a blank, from the whole line down to the shortest.
    for (std::size_t end = commandLine.size(); end != std::string::npos && end > 0;
         end = commandLine.rfind(' ', end - 1)) {
        if (commandLine[end - 1] == ' ') continue;
        const std::string program = ExistingProgram(commandLine.substr(0, end));
        if (program.empty()) continue;
        if (program.find(' ') == std::string::npos) return commandLine;
        return Quoted(program) + commandLine.substr(end);
    }
    return commandLine;
}
