#include "app/LogViewer.h"

#include "run/LogFile.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProcessLaunch.h"

std::string ViewedLogPath() {
    const std::string& written = TheLogFile().Path();
    if (!written.empty()) return written;
    const std::string here = CurrentDirectoryLogPath();
    return FileExists(here) ? here : LogPathIn(SystemDirectory());
}

void ViewLog() {
    // The path goes unquoted: Notepad takes the rest of its command line as the file name.
    RunProgram("notepad " + ViewedLogPath(), false);
}
