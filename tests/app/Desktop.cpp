#include "app/Desktop.h"

#include <vector>

#include "support/Machine.h"

namespace {
struct Search {
    const char* className;
    const char* caption;
    DWORD process;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window)) return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->process && owner != search->process) return TRUE;
    if (search->className && ClassOf(window) != search->className) return TRUE;
    if (search->caption && WindowText(window) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK Collect(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::string UnixPath(std::string windowsPath) {
    if (windowsPath.size() > 1 && windowsPath[1] == ':') windowsPath.erase(0, 2);
    for (char& c : windowsPath)
        if (c == '\\') c = '/';
    return windowsPath;
}
}  // namespace

HWND WaitForWindow(const char* className, const char* caption, DWORD process, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        Search search = {className, caption, process, nullptr};
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(100);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
    return true;
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ChildWithText(HWND window, const char* className) {
    for (HWND child : Children(window))
        if (_stricmp(ClassOf(child).c_str(), className) == 0 && !WindowText(child).empty())
            return child;
    return nullptr;
}

RECT ClientRectOf(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

std::string EditText(HWND edit) {
    std::vector<char> text(65536);
    SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

unsigned long PixelSum(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    unsigned long sum = 0;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) sum = sum * 31 + (pixels[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return sum;
}

void RunUnix(const std::string& command) {
    // Wine starts Unix programs named by their Unix path on drive Z.
    RunAndWait("Z:\\bin\\sh -c \"" + command + "\"");
}

void SaveScreenshot(const std::string& name) {
    const std::string folder = UnixPath(BinDir()) + "/../test-output";
    RunUnix("mkdir -p " + folder + " && import -window root " + folder + "/" + name + ".png");
}

RunningOberin::RunningOberin(const std::string& arguments, const std::string& directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = "\"" + BinDir() + "\\oberin.exe\" " + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                   &startup, &process_);
}

RunningOberin::~RunningOberin() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND RunningOberin::Dialog() {
    return WaitForWindow("#32770", "Windows 2000 Oberin Utility from Velmora", Id());
}

bool RunningOberin::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

void EndProcessesWithWindow(const char* className) {
    while (HWND window = WaitForWindow(className, nullptr, 0, 0)) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process) return;
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
        WaitForWindowGone(window, 5000);
    }
}
