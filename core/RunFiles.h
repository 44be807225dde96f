#pragma once
#include "core/LogFile.h"

// Where a run writes its files: beside the log in the current directory, else in the system
// directory.

// Opens the file name in the current directory, else in the system directory; false when
// neither could be opened.
bool OpenRunFile(LogFile& file, const char* name);
// Opens the process log, oberin.log, the same way.
bool OpenRunLog();
// What a run writes on a version of Windows Oberin does not run on.
extern const char kNotSupportedText[];
