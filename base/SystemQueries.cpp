#include "base/SystemQueries.h"

#include <windows.h>

#include <cstdlib>

#include "base/PathText.h"
#include "base/ReadOnlyKey.h"

std::string SystemDirectory() {
    char buffer[MAX_PATH] = "";
    if (GetSystemDirectoryA(buffer, MAX_PATH) >= MAX_PATH) buffer[0] = '\0';
    return WithBackslash(buffer);
}

std::string WindowsDirectory() {
    char buffer[MAX_PATH] = "";
    if (GetWindowsDirectoryA(buffer, MAX_PATH) >= MAX_PATH) buffer[0] = '\0';
    return WithBackslash(buffer);
}

long ParseBuildNumber(const std::string& text) {
    // The C library's rule; long has 32 bits here, so it saturates at the 32-bit limits.
    return std::strtol(text.c_str(), nullptr, 10);
}

bool IsNt351Build() {
    std::string build;
    ReadOnlyKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion")
        .QueryString("CurrentBuildNumber", build);
    const unsigned long number = static_cast<unsigned long>(ParseBuildNumber(build));
    return number >= 944 && number <= 1057;
}

bool IsNt4Version() {
    const DWORD version = GetVersion();
    if (version & 0x80000000) return false;
    return LOBYTE(LOWORD(version)) == 4;
}

bool IsSupportedVersion() {
    return IsNt351Build() || IsNt4Version();
}
