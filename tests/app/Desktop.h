#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Windows of other processes on the test display, found and read the way a user sees them.

// The first visible top-level window of process (0: any) with this class and caption (either
// may be null for any), waited for up to timeoutMs; null when none appeared.
HWND WaitForWindow(const char* className, const char* caption, DWORD process = 0,
                   DWORD timeoutMs = 10000);
// Waits up to timeoutMs for window to go; true when it went.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000);
std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// All descendants of window, in creation order.
std::vector<HWND> Children(HWND window);
// The first child with this class whose text is not empty, or null.
HWND ChildWithText(HWND window, const char* className);
// The position and size of child in its parent's client area.
RECT ClientRectOf(HWND child);
// Clicks a button as the keyboard's space bar would (posted, so the caller never blocks).
void Click(HWND button);
// The text of an edit control, asked for with WM_GETTEXT.
std::string EditText(HWND edit);
// A sum of the screen pixels under window: it changes when what is drawn there changes.
unsigned long PixelSum(HWND window);

// Runs a Unix command line through /bin/sh and waits for it.
void RunUnix(const std::string& command);
// Saves the whole screen as build/test-output/NAME.png for a person to look at.
void SaveScreenshot(const std::string& name);

// An oberin.exe started (without waiting) with arguments in directory; ended by the
// destructor if it still runs.
class RunningOberin {
  public:
    RunningOberin(const std::string& arguments, const std::string& directory);
    ~RunningOberin();
    RunningOberin(const RunningOberin&) = delete;
    RunningOberin& operator=(const RunningOberin&) = delete;

    // The main dialog, waited for.
    HWND Dialog();
    DWORD Id() const { return process_.dwProcessId; }
    // Waits up to timeoutMs for the process to end; true when it did, with exitCode set.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

  private:
    PROCESS_INFORMATION process_ = {};
};

// Ends the processes that own a top-level window of className (test-started Notepads).
void EndProcessesWithWindow(const char* className);
