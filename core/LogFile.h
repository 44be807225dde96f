#pragma once
#include <cstdio>
#include <string>

// The separator line that opens the log and ends every product block.
extern const char LogSeparator[];

// The report of a cleanup run (or any of the run's other reports): a text file opened for the
// length of one run. "\n" is written
// as CR LF. Writes while closed are dropped, so stages can run outside a run.
class LogFile {
  public:
    LogFile() = default;
    ~LogFile() { Close(); }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Creates the file anew (truncating an old one); false when it cannot be opened.
    bool Open(const std::string& path);
    void Write(const std::string& text);
    // Writes "Error:           " with text as a line of its own and counts it.
    void WriteError(const std::string& text);
    // The error lines written since Open.
    unsigned Errors() const { return errors_; }
    // False when a write since Open or the close itself failed: the file may not hold
    // everything written.
    bool Close();
    bool IsOpen() const { return file_ != nullptr; }
    // The file the last Open created; empty before any and after one that failed.
    const std::string& Path() const { return path_; }

  private:
    std::FILE* file_ = nullptr;
    bool complete_ = true;
    unsigned errors_ = 0;
    std::string path_;
};

// The one log of the process.
LogFile& TheLogFile();

// The log's path in directory: "oberin.log" appended, after a backslash unless the directory
// already ends in one.
std::string LogPathIn(const std::string& directory);

// The file name in the folder of the log at logPath.
std::string BesideLog(const std::string& logPath, const char* name);

// LogPathIn of the process's current directory.
std::string CurrentDirectoryLogPath();
// LogPathIn of the system directory, where a run writes when the current directory cannot
// take its files.
std::string SystemDirectoryLogPath();
