#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Windows of other processes on the test display, found, read and driven the way a user would.
// Every wait has a limit: a window that never comes fails the test instead of hanging it.

const DWORD kWaitLimitMs = 10000;

// Polls condition every 20 ms until it holds; false when it still did not after limitMs.
template <typename Condition>
bool Eventually(Condition condition, DWORD limitMs = kWaitLimitMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= limitMs) return false;
        Sleep(20);
    }
    return true;
}

// The first visible top-level window with this class and caption (null: any) of process (0:
// any), waited for; null when none came.
HWND WaitForWindow(const char* className, const char* caption = nullptr, DWORD process = 0);
// Waits for window to go or hide; false when it was still shown at the limit.
bool WaitForWindowGone(HWND window);
// The text of a window of another process (edit controls included), "" when it does not answer.
std::string TextOf(HWND window);
// The child windows of window, first created first.
std::vector<HWND> Children(HWND window);
// Clicks a button as the space bar would, without waiting for its owner to handle it.
void Click(HWND button);
// True when the picture on the screen under window changes more than times times within limitMs.
bool PictureKeepsChanging(HWND window, int times, DWORD limitMs);
// True when the picture under window stays the same for half a second within limitMs.
bool PictureSettles(HWND window, DWORD limitMs);
