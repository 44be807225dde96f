#include "core/LogFile.h"

#include <windows.h>

#include "base/PathText.h"
#include "base/SystemQueries.h"

const char LogSeparator[] =
    "--------------------------------------------------------------------------\n";

bool LogFile::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "wt");
    complete_ = true;
    errors_ = 0;
    path_ = file_ ? path : std::string();
    return file_ != nullptr;
}

void LogFile::Write(const std::string& text) {
    if (file_ && std::fputs(text.c_str(), file_) == EOF) complete_ = false;
}

void LogFile::WriteError(const std::string& text) {
    Write("Error:           " + text + "\n");
    ++errors_;
}

bool LogFile::Close() {
    if (!file_) return true;
    // The close writes out what is still buffered: a full disk may show only here.
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return complete_ && closed;
}

LogFile& TheLogFile() {
    static LogFile log;
    return log;
}

std::string LogPathIn(const std::string& directory) {
    return WithBackslash(directory) + "oberin.log";
}

std::string BesideLog(const std::string& logPath, const char* name) {
    return logPath.substr(0, LastBackslash(logPath) + 1) + name;
}

std::string CurrentDirectoryLogPath() {
    char buffer[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return LogPathIn(buffer);
}

std::string SystemDirectoryLogPath() {
    return LogPathIn(SystemDirectory());
}
