// The main dialog of oberin.exe on the test display: its looks, the About box, Cleanup with the
// clip and the messages, View Log, Help, Exit and Escape.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "base/SystemQueries.h"
#include "res/resource.h"
#include "support/Machine.h"
#include "support/MachineLayout.h"
#include "support/RegistryEdit.h"

namespace {
const DWORD kWaitLimitMs = 10000;

// Polls condition every 20 ms until it holds; false when it still did not after limitMs: a
// window that never comes fails the test instead of hanging it.
template <typename Condition>
bool Eventually(Condition condition, DWORD limitMs = kWaitLimitMs) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (GetTickCount() - start >= limitMs) return false;
    return true;
}

// The top-level window with this class and caption (null: any) once shown; null when none came.
HWND WaitForWindow(const char* className, const char* caption = nullptr) {
    HWND found = nullptr;
    Eventually([&] { return IsWindowVisible(found = FindWindowA(className, caption)); });
    return found;
}

// The text of a window of another process (edit controls included), "" when it does not answer.
std::string TextOf(HWND window) {
    std::vector<char> text(65536);
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kWaitLimitMs, nullptr);
    return text.data();
}

// True when the picture on the screen under window changes within limitMs.
bool PictureChanges(HWND window, DWORD limitMs) {
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

const char kSucceeded[] =
    "Configuration successful.  Please exit application and reboot this server to complete the "
    "configuration.";
const char kFailed[] = "Configuration unsuccessful.  Please check log file";

// The controls of dialog as rows of dialog.txt, in dialog units (the dialog has wide by high), an
// icon's size in pixels.
std::vector<std::vector<std::string>> Layout(HWND dialog, int wide, int high) {
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<std::vector<std::string>> layout;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        char line[256], name[32] = "", size[32];
        GetClassNameA(child, name, sizeof name);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        // An icon takes its own size in pixels, whatever the dialog's font makes a unit.
        if (lstrcmpiA(name, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
            std::snprintf(size, sizeof size, "%ldx%ld pixels", r.right - r.left, r.bottom - r.top);
        else
            std::snprintf(size, sizeof size, "%dx%d", MulDiv(r.right - r.left, wide, client.right),
                          MulDiv(r.bottom - r.top, high, client.bottom));
        std::snprintf(line, sizeof line, "%s %d %d,%d %s %08lx '%s'", name,
                      GetDlgCtrlID(child) & 0xFFFF, MulDiv(r.left, wide, client.right),
                      MulDiv(r.top, high, client.bottom), size,
                      style & (WS_TABSTOP | WS_GROUP | 0xFFFF), TextOf(child).c_str());
        layout.push_back({line});
    }
    return layout;
}

class DialogTest : public testing::Test {
  protected:
    void SetUp() override {
        // Without a window manager Wine would wait two seconds for one on every managed window.
        ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", "N"));
        RemoveTree(systemLog_);
    }
    void TearDown() override {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kWaitLimitMs);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    // Starts oberin.exe in the work folder and returns its main dialog, null when none came.
    HWND Start(const std::string& arguments = "") {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string line = "\"" + BinDir() + "\\oberin.exe\" " + arguments;
        CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, work_.c_str(),
                       &startup, &process_);
        return dialog_ = WaitForWindow("#32770", "Windows 2000 Oberin Utility from Velmora");
    }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    static void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }
    // Closes the next message box of the program (captioned with its name, owned by the dialog)
    // and returns its text.
    std::string Dismiss() {
        HWND box = WaitForWindow("#32770", "oberin");
        EXPECT_EQ(dialog_, GetWindow(box, GW_OWNER));
        const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
        Click(GetDlgItem(box, IDOK));
        EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(box); }));
        return text;
    }

    const std::string work_ = FreshFolder("C:\\work"), log_ = work_ + "\\oberin.log";
    const std::string systemLog_ = SystemDirectory() + "oberin.log";
    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
};

// A dialog started with "/s" as laid out, its About box reached from the system menu; Cleanup run
// twice alike with the clip playing past the result, then View Log, Help until Escape ends it.
TEST_F(DialogTest, SlashSOpensTheDialogWithAboutCleanupTwiceViewLogAndHelpTillEscape) {
    ASSERT_TRUE(Start("/s"));
    EXPECT_EQ(CaseTable("app\\dialog.txt"), Layout(dialog_, 209, 93));
    // The keyboard's way: Alt+Space opens the menu, Up wraps round to its last item, Enter.
    PostMessageA(dialog_, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    ASSERT_TRUE(WaitForWindow("#32768"));
    PostMessageA(dialog_, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(dialog_, WM_KEYDOWN, VK_RETURN, 0);
    HWND about = WaitForWindow("#32770", "About Oberin");
    EXPECT_EQ(CaseTable("app\\about.txt"), Layout(about, 217, 55));
    Click(GetDlgItem(about, IDOK));
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(about); }));
    HWND clip = Item(IDC_ANIMATION);
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        Click(Item(IDC_CLEANUP));
        WaitForWindow("#32770", "oberin");
        Sleep(1000);  // the clip plays on while the result is up, past one round of its 4 frames
        EXPECT_TRUE(PictureChanges(clip, 500));
        EXPECT_EQ(kSucceeded, Dismiss());
        EXPECT_TRUE(Eventually([&] { return !PictureChanges(clip, 500); }, 3000));  // then it stops
    }
    // A run from the dialog reports its changes beside the log, as a silent one does, but leaves
    // no status MIF: nothing in this prefix runs unattended.
    EXPECT_NE(std::string::npos,
              ReadWholeFile(work_ + "\\oberin-changes.txt").find("\tabsent\r\n"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES,
              GetFileAttributesA((WindowsDirectory() + "OBERINC.MIF").c_str()));
    // View Log shows the log the last run wrote here: that of a clean machine.
    const std::string log = ReadWholeFile(TestsDir() + "\\machines\\clean\\expected.log");
    Click(Item(IDC_VIEW_LOG));
    HWND text = FindWindowExA(WaitForWindow("Notepad"), nullptr, "Edit", nullptr);
    EXPECT_TRUE(Eventually([&] { return TextOf(text) == log && log == ReadWholeFile(log_); }))
        << TextOf(text);
    PostMessageA(GetParent(text), WM_CLOSE, 0, 0);
    Click(Item(IDC_HELP_BUTTON));
    EXPECT_TRUE(WaitForWindow("MS_WINHELP", "Oberin Help"));    // captioned by the help file
    PostMessageA(Item(IDC_CLEANUP), WM_KEYDOWN, VK_ESCAPE, 0);  // through the dialog's keys
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, kWaitLimitMs));
    EXPECT_TRUE(Eventually([&] { return !FindWindowA("MS_WINHELP", nullptr); }));
}

// The network setup belongs to the run whose entries asked for it: a second Cleanup from the same
// dialog, on the teaming machine the first one cleaned, finds nothing to ask for it again.
TEST_F(DialogTest, OnlyTheRunThatRemovedTeamingRunsTheNetworkSetup) {
    const MachineLayout machine("adapter-teaming-run");
    ASSERT_TRUE(Start());
    for (int run = 1; run <= 2; ++run) {
        Click(Item(IDC_CLEANUP));
        EXPECT_EQ(kSucceeded, Dismiss()) << run;
    }
    const std::string calls = ReadWholeFile(SystemDirectory() + "NCPA.CALLS");
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), '\n')) << calls;
}

// With no place for the log, or on an unsupported version, Cleanup says so, then shows the failure.
TEST_F(DialogTest, CleanupWithNoPlaceForTheLogOrOnAnUnsupportedVersionSaysSoThenShowsTheFailure) {
    ASSERT_TRUE(CreateDirectoryA(log_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(systemLog_.c_str(), nullptr));
    ASSERT_TRUE(SetWindowsVersion("win2k"));
    Start();  // a program keeps the version it started with
    ASSERT_TRUE(SetWindowsVersion("nt40"));
    Click(Item(IDC_CLEANUP));
    EXPECT_EQ("Failed to open Log File:  Application exiting.", Dismiss());
    EXPECT_EQ(kFailed, Dismiss());
    ASSERT_TRUE(RemoveDirectoryA(log_.c_str()));
    Click(Item(IDC_CLEANUP));
    EXPECT_EQ("Oberin is not supported on this version of Windows.", Dismiss());
    EXPECT_EQ(kFailed, Dismiss());
}
}  // namespace
