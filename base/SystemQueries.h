#pragma once
#include <string>

// The system directory, always ending in one backslash.
std::string SystemDirectory();
// The Windows directory, always ending in one backslash.
std::string WindowsDirectory();
// The registry's build number lies in 944..1057: Windows NT 3.51, whose shell is Program Manager.
bool IsNt351Build();
// Windows NT platform with major version 4.
bool IsNt4Version();
// Windows NT 4.0 or an NT 3.51 build: the versions the cleanup supports.
bool IsSupportedVersion();
// Decimal value of text: leading blanks skipped, optional sign, leading digits; no digits give
// 0 and values beyond 32 bits saturate at the nearest limit.
long ParseBuildNumber(const std::string& text);
