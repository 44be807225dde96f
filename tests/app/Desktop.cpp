#include "app/Desktop.h"

#include "support/Machine.h"

HWND WaitForWindow(const char* className, const char* caption, DWORD process) {
    HWND found = nullptr;
    Eventually([&] {
        while ((found = FindWindowExA(nullptr, found, className, caption))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (IsWindowVisible(found) && (!process || owner == process)) return true;
        }
        return false;
    });
    return found;
}

bool WaitForWindowGone(HWND window) {
    return Eventually([&] { return !IsWindowVisible(window); });
}

std::string TextOf(HWND window) {
    std::vector<char> text(65536);
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kWaitLimitMs, &length))
        return "";
    return std::string(text.data(), length);
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

unsigned long PixelSum(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    unsigned long sum = 0;
    for (int i = 0; i < width * height; ++i)
        sum = sum * 31 + (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return sum;
}

void EndProcessOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process) return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, kWaitLimitMs);
    CloseHandle(process);
}

RunningOberin::RunningOberin(const std::string& arguments, const std::string& directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = "\"" + BinDir() + "\\oberin.exe\" " + arguments;
    CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                   &startup, &process_);
}

RunningOberin::~RunningOberin() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, kWaitLimitMs);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool RunningOberin::Ends() const {
    return WaitForSingleObject(process_.hProcess, kWaitLimitMs) == WAIT_OBJECT_0;
}
