// Stand-in for the system's network control-panel module. CPlSetup appends one line per call
// to NCPA.CALLS next to this module: the argument count, what it sees of the owner window named by
// the first string, the other two strings, and of oberin.log in the current directory at the moment
// of the call.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
HMODULE self;

std::string CallsPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, MAX_PATH);
    std::string result(path);
    return result.substr(0, result.find_last_of('\\') + 1) + "NCPA.CALLS";
}

std::string DescribeWindow(const char* hex) {
    HWND window = reinterpret_cast<HWND>(std::strtoul(hex, nullptr, 16));
    if (!IsWindow(window)) return "window=none";
    char title[64] = "", type[64] = "";
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, type, sizeof type);
    RECT box;
    GetWindowRect(window, &box);
    char text[256];
    std::snprintf(text, sizeof text, "window=%s|%s|at %ld,%ld|%s", type, title, box.left, box.top,
                  IsWindowVisible(window) ? "visible" : "hidden");
    return text;
}

// Size of oberin.log as other programs see it now; a log still open in the run would show
// less than the finished file.
std::string DescribeLog() {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA("oberin.log", GetFileExInfoStandard, &data)) return "log=none";
    return "log=" + std::to_string(data.nFileSizeLow);
}
}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI
    CPlSetup(DWORD count, LPSTR* arguments, LPSTR* answer) {
    std::FILE* calls = std::fopen(CallsPath().c_str(), "ab");
    if (!calls) return FALSE;
    // The owner's handle differs from run to run: what it is stands in its place.
    std::fprintf(calls, "%lu|%s|%s|%s|%s|answer=%s\r\n", count,
                 DescribeWindow(arguments[0]).c_str(), arguments[1], arguments[2],
                 DescribeLog().c_str(), answer ? "slot" : "null");
    std::fclose(calls);
    return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}
