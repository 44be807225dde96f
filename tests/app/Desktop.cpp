#include "app/Desktop.h"

#include <functional>

namespace {
// A checksum of the screen pixels under window: it changes when what is shown there changes.
std::size_t PixelSum(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    std::string pixels(width * height * 4, '\0');
    pixels.resize(GetBitmapBits(bitmap, pixels.size(), &pixels[0]));
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return std::hash<std::string>()(pixels);
}
}  // namespace

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

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

bool PictureKeepsChanging(HWND window, int times, DWORD limitMs) {
    std::size_t last = PixelSum(window);
    int changes = 0;
    return Eventually(
        [&] {
            const std::size_t now = PixelSum(window);
            changes += now != last;
            last = now;
            return changes > times;
        },
        limitMs);
}

bool PictureSettles(HWND window, DWORD limitMs) {
    return Eventually(
        [&] {
            const std::size_t first = PixelSum(window);
            for (int i = 0; i < 10; ++i, Sleep(50))
                if (PixelSum(window) != first) return false;
            return true;
        },
        limitMs);
}
