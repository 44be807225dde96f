#include "core/RunFiles.h"

#include "base/SystemQueries.h"

const char kNotSupportedText[] = "Oberin is not supported on this version of Windows.";

bool OpenRunFile(LogFile& file, const char* name) {
    return file.Open(BesideLog(CurrentDirectoryLogPath(), name)) ||
           file.Open(BesideLog(LogPathIn(SystemDirectory()), name));
}

bool OpenRunLog() {
    return OpenRunFile(TheLogFile(), "oberin.log");
}
