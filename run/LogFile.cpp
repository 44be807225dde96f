#include "run/LogFile.h"

#include <windows.h>

#include "components/PathText.h"

const char LogSeparator[] =
    "--------------------------------------------------------------------------\n";

bool LogFile::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "wt");
    return file_ != nullptr;
}

void LogFile::Write(const std::string& text) {
    if (file_) std::fputs(text.c_str(), file_);
}

void LogFile::Close() {
    if (!file_) return;
    std::fclose(file_);
    file_ = nullptr;
}

LogFile& TheLogFile() {
    static LogFile log;
    return log;
}

std::string LogPathIn(const std::string& directory) {
    return WithBackslash(directory) + "oberin.log";
}

std::string CurrentDirectoryLogPath() {
    char buffer[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return LogPathIn(buffer);
}
