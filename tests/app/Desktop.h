#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Windows of other processes on the test display, found and read the way a user would. Every
// wait has a limit: a window that never comes fails the test instead of hanging it.
const DWORD kWaitLimitMs = 10000;

// Polls condition every 20 ms until it holds; false when it still did not after limitMs.
template <typename Condition>
bool Eventually(Condition condition, DWORD limitMs = kWaitLimitMs) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (GetTickCount() - start >= limitMs) return false;
    return true;
}

// The first visible top-level window with this class and caption (null: any), waited for; null
// when none came.
inline HWND WaitForWindow(const char* className, const char* caption = nullptr) {
    HWND found = nullptr;
    Eventually([&] {
        while ((found = FindWindowExA(nullptr, found, className, caption)) &&
               !IsWindowVisible(found)) {
        }
        return found != nullptr;
    });
    return found;
}

// The text of a window of another process (edit controls included), "" when it does not answer.
inline std::string TextOf(HWND window) {
    std::vector<char> text(65536);
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kWaitLimitMs, nullptr);
    return text.data();
}

// The child windows of window, first created first.
inline std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// True when the picture on the screen under window changes within limitMs.
inline bool PictureChanges(HWND window, DWORD limitMs) {
    auto pixelSum = [&] {
        RECT r;
        GetWindowRect(window, &r);
        HDC screen = GetDC(nullptr);
        std::size_t sum = 0;
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x) sum = sum * 31 + GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        return sum;
    };
    const std::size_t first = pixelSum();
    return Eventually([&] { return pixelSum() != first; }, limitMs);
}
