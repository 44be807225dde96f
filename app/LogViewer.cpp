#include "app/LogViewer.h"

#include "base/SystemQueries.h"
#include "core/LogFile.h"
#include "sysaccess/CommandLine.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProcessLaunch.h"

std::string ViewedLogPath() {
    const std::string& written = TheLogFile().Path();
    if (!written.empty()) return written;
    const std::string here = CurrentDirectoryLogPath();
    return FileExists(here) ? here : SystemDirectoryLogPath();
}

void ViewLog() {
    // By its full path: a notepad.exe beside the program or in the current directory would be
    // found first by the system's search.
    std::string notepad = SystemDirectory() + "notepad.exe";
    if (!FileExists(notepad)) notepad = WindowsDirectory() + "notepad.exe";
    RunProgram(Quoted(notepad) + " " + Quoted(ViewedLogPath()), false);
}
