// Stand-in for the system's network control-panel module, installed in the system directory.
// CPlSetup appends one line per call to NCPA.CALLS there: the argument count, the first string's
// text as it came ("%lx" where it is exactly the owner's handle as printf's %lx writes it, which
// differs from run to run), what it sees of the window that handle names, the other two strings,
// and the size of oberin.log in the current directory at the moment of the call.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" __declspec(dllexport) BOOL WINAPI
    CPlSetup(DWORD count, LPSTR* arguments, LPSTR* answer) {
    char calls[MAX_PATH + 16], title[64] = "", type[64] = "", window[256] = "window=none";
    GetSystemDirectoryA(calls, MAX_PATH);
    std::FILE* record = std::fopen(std::strcat(calls, "\\NCPA.CALLS"), "ab");
    if (!record) return FALSE;
    const unsigned long handle = std::strtoul(arguments[0], nullptr, 16);
    char text[32];
    std::snprintf(text, sizeof text, "%lx", handle);
    const std::string shown = std::strcmp(text, arguments[0]) == 0 ? "%lx" : arguments[0];
    HWND owner = reinterpret_cast<HWND>(handle);
    if (IsWindow(owner)) {
        GetWindowTextA(owner, title, sizeof title);
        GetClassNameA(owner, type, sizeof type);
        RECT box;
        GetWindowRect(owner, &box);
        std::snprintf(window, sizeof window, "window=%s|%s|at %ld,%ld|%s", type, title, box.left,
                      box.top, IsWindowVisible(owner) ? "visible" : "hidden");
    }
    // A log still open in the run would show less than the finished file.
    WIN32_FILE_ATTRIBUTE_DATA log;
    const bool logThere = GetFileAttributesExA("oberin.log", GetFileExInfoStandard, &log);
    std::fprintf(record, "%lu|handle=%s|%s|%s|%s|log=%s|answer=%s\r\n", count, shown.c_str(),
                 window, arguments[1], arguments[2],
                 logThere ? std::to_string(log.nFileSizeLow).c_str() : "none",
                 answer ? "slot" : "null");
    std::fclose(record);
    return TRUE;
}
