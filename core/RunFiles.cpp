#include "core/RunFiles.h"

const char kNotSupportedText[] = "Oberin is not supported on this version of Windows.";

bool OpenRunFile(LogFile& file, const char* name) {
    return file.Open(BesideLog(CurrentDirectoryLogPath(), name)) ||
           file.Open(BesideLog(SystemDirectoryLogPath(), name));
}

bool OpenRunLog() {
    return OpenRunFile(TheLogFile(), "oberin.log");
}
