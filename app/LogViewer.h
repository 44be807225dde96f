#pragma once
#include <string>

// The log a user asks to see: the one the last run of this process wrote; without one, the
// current directory's "oberin.log" when it exists, else the one in the system directory (which
// is not checked).
std::string ViewedLogPath();

// Starts Notepad of the system directory (else of the Windows directory) on ViewedLogPath
// without waiting; a failure to start it is silent.
void ViewLog();
