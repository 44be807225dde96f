#include "run/SystemQueries.h"

#include <windows.h>

#include <climits>

#include "components/PathText.h"
#include "sysaccess/RegistryKey.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
}  // namespace

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
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;  // saturates below
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<long>(value);
}

bool IsNt351Build() {
    std::string build;
    RegistryKey("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion")
        .QueryString("CurrentBuildNumber", build);
    const unsigned long number = static_cast<unsigned long>(ParseBuildNumber(build));
    return number >= 944 && number <= 1057;
}

bool IsNt4Version() {
    const DWORD version = GetVersion();
    if (version & 0x80000000) return false;
    return LOBYTE(LOWORD(version)) == 4;
}
