// The main dialog of oberin.exe on the test display: its looks, the About box, Cleanup with the
// clip and the messages, View Log, Help, Exit and Escape.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdio>

#include "app/Desktop.h"
#include "res/resource.h"
#include "run/LogFile.h"
#include "run/SystemQueries.h"
#include "support/Machine.h"

namespace {
const char kSucceeded[] =
    "Configuration successful.  Please exit application and reboot this server to complete the "
    "configuration.";
const char kFailed[] = "Configuration unsuccessful.  Please check log file";

class DialogTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        // The test display has no window manager: Wine would wait two seconds for one to take
        // every closing window away. Windows it does not hand to a manager close at once.
        HKEY key;
        ASSERT_EQ(0, RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", &key));
        RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
        RegCloseKey(key);
    }
    void SetUp() override {
        work_ = FreshFolder("C:\\work");
        RemoveTree(LogPathIn(SystemDirectory()));
    }
    void TearDown() override {
        if (!process_.hProcess) return;
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
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, work_.c_str(),
                            &startup, &process_))
            return nullptr;
        return dialog_ = WaitForWindow("#32770", "Windows 2000 Oberin Utility from Velmora",
                                       process_.dwProcessId);
    }
    bool Ends() const {
        return WaitForSingleObject(process_.hProcess, kWaitLimitMs) == WAIT_OBJECT_0;
    }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    // The next message box of the program, captioned with its name; null when none came.
    HWND Box() const { return WaitForWindow("#32770", "oberin", process_.dwProcessId); }
    // Closes box with its OK button and returns its message.
    static std::string Dismiss(HWND box) {
        const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
        Click(GetDlgItem(box, IDOK));
        EXPECT_TRUE(WaitForWindowGone(box));
        return text;
    }
    // Clicks Cleanup and returns the messages it shows, up to the result or a missing box.
    std::vector<std::string> CleanupMessages() {
        Click(Item(IDC_CLEANUP));
        std::vector<std::string> texts;
        do texts.push_back(Dismiss(Box()));
        while (texts.back() != kSucceeded && texts.back() != kFailed && !texts.back().empty());
        return texts;
    }

    std::string work_;
    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
};

TEST_F(DialogTest, ShowsItsCaptionAndControlsAsLaidOut) {
    ASSERT_TRUE(Start());
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(frame,
              GetWindowLongA(dialog_, GWL_STYLE) & (frame | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(dialog_, GWL_EXSTYLE) & WS_EX_APPWINDOW);  // on the task bar
    // Each control: class, identifier, place and size in dialog units (the dialog has 209 by 93),
    // tab stop, group and own styles, and text.
    RECT client;
    GetClientRect(dialog_, &client);
    auto x = [&](LONG pixels) { return std::lround(pixels * 209.0 / client.right); };
    auto y = [&](LONG pixels) { return std::lround(pixels * 93.0 / client.bottom); };
    std::vector<std::string> layout;
    for (HWND child : Children(dialog_)) {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&place), 2);
        char line[256], name[32] = "";
        GetClassNameA(child, name, sizeof name);
        std::snprintf(line, sizeof line, "%s %d %ld,%ld %ldx%ld %08lx '%s'", name,
                      GetDlgCtrlID(child) & 0xFFFF, x(place.left), y(place.top),
                      x(place.right - place.left), y(place.bottom - place.top),
                      GetWindowLongA(child, GWL_STYLE) & (WS_TABSTOP | WS_GROUP | 0xFFFF),
                      TextOf(child).c_str());
        layout.push_back(line);
    }
    // Without a timer of its own the clip plays on the control's thread while a run keeps the
    // dialog's thread busy.
    const std::vector<std::string> expected = {
        "Button 1000 152,18 50x14 00010000 'Cleanup'",
        "Button 1002 152,36 50x14 00010000 'View Log'",
        "Button 2 152,54 50x14 00010000 'Exit'",
        "Button 57670 152,72 50x14 00010000 '&Help'",
        "Static 65535 10,34 131x26 00020000 'Press Cleanup to remove Windows 2000 non-supported "
        "Velmora utilites and drivers'",
        "SysAnimate32 1001 57,66 20x20 00000002 ''"};
    EXPECT_EQ(expected, layout);
}

TEST_F(DialogTest, TheLastItemOfTheSystemMenuOpensTheAboutBox) {
    ASSERT_TRUE(Start());
    // The keyboard's way: Alt+Space opens the menu, Up wraps round to its last item, Enter.
    PostMessageA(dialog_, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    ASSERT_TRUE(WaitForWindow("#32768", nullptr, process_.dwProcessId));
    PostMessageA(dialog_, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(dialog_, WM_KEYDOWN, VK_RETURN, 0);
    HWND about = WaitForWindow("#32770", "About Oberin", process_.dwProcessId);
    ASSERT_TRUE(about);
    const std::vector<HWND> children = Children(about);
    ASSERT_EQ(4u, children.size());
    EXPECT_EQ(SS_ICON, GetWindowLongA(children[0], GWL_STYLE) & SS_TYPEMASK);
    EXPECT_EQ("Oberin Version 1.5", TextOf(children[1]));
    Click(GetDlgItem(about, IDOK));
    EXPECT_TRUE(WaitForWindowGone(about));
    EXPECT_TRUE(IsWindowVisible(dialog_));
}

TEST_F(DialogTest, CleanupOnACleanMachineReportsSuccessWhileTheClipPlaysTwiceAlike) {
    ASSERT_TRUE(Start());
    HWND clip = Item(IDC_ANIMATION);
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        DeleteFileA((work_ + "\\oberin.log").c_str());
        Click(Item(IDC_CLEANUP));
        HWND box = Box();
        ASSERT_TRUE(box);
        EXPECT_EQ(dialog_, GetWindow(box, GW_OWNER));
        // While the result is up the clip plays on, longer than one round of its four frames.
        EXPECT_TRUE(PictureKeepsChanging(clip, 5, 5000));
        EXPECT_EQ(kSucceeded, Dismiss(box));
        EXPECT_EQ(ReadWholeFile(TestsDir() + "\\machines\\clean\\expected.log"),
                  ReadWholeFile(work_ + "\\oberin.log"));
        EXPECT_TRUE(PictureSettles(clip, 3000));  // then it stops
    }
}

TEST_F(DialogTest, CleanupOnAnUnsupportedVersionShowsTheRunsMessageThenTheFailure) {
    ASSERT_TRUE(SetWindowsVersion("win2k"));
    Start();  // a program keeps the version it started with
    ASSERT_TRUE(SetWindowsVersion("nt40"));
    ASSERT_TRUE(dialog_);
    const std::vector<std::string> expected = {
        "Oberin is not supported on this version of Windows.", kFailed};
    EXPECT_EQ(expected, CleanupMessages());
}

TEST_F(DialogTest, CleanupWithNoPlaceForTheLogSaysSoThenShowsTheFailure) {
    ASSERT_TRUE(CreateDirectoryA((work_ + "\\oberin.log").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(LogPathIn(SystemDirectory()).c_str(), nullptr));
    ASSERT_TRUE(Start());
    const std::vector<std::string> expected = {"Failed to open Log File:  Application exiting.",
                                               kFailed};
    EXPECT_EQ(expected, CleanupMessages());
}

TEST_F(DialogTest, ViewLogOpensTheLogInNotepad) {
    ASSERT_TRUE(Start());
    ASSERT_EQ(kSucceeded, CleanupMessages().back());
    Click(Item(IDC_VIEW_LOG));
    HWND notepad = WaitForWindow("Notepad");
    ASSERT_TRUE(notepad);
    HWND text = FindWindowExA(notepad, nullptr, "Edit", nullptr);
    const std::string log = ReadWholeFile(work_ + "\\oberin.log");
    EXPECT_TRUE(Eventually([&] { return TextOf(text) == log; })) << TextOf(text);
    PostMessageA(notepad, WM_CLOSE, 0, 0);
}

TEST_F(DialogTest, EscapeEndsTheProgram) {
    ASSERT_TRUE(Start());
    // Escape on the focused button goes through the dialog's keyboard handling.
    PostMessageA(Item(IDC_CLEANUP), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Ends());
}

TEST_F(DialogTest, SlashSOpensTheDialogAndWritesNoLog) {
    ASSERT_TRUE(Start("/s"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((work_ + "\\oberin.log").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(LogPathIn(SystemDirectory()).c_str()));
}

TEST_F(DialogTest, HelpOpensTheHelpFileInWinHelpUntilExitEndsTheProgram) {
    ASSERT_TRUE(Start());
    Click(Item(IDC_HELP_BUTTON));
    HWND help = WaitForWindow("MS_WINHELP", "Oberin Help");
    ASSERT_TRUE(help);
    // The contents topic, as winhlp32 shows it in its text control.
    std::string shown;
    EXPECT_TRUE(Eventually([&] {
        shown.clear();
        for (HWND child : Children(help)) shown += TextOf(child);
        return shown.find("What Oberin does") != std::string::npos;
    })) << shown;
    Click(Item(IDCANCEL));
    EXPECT_TRUE(Ends());
    EXPECT_TRUE(WaitForWindowGone(help));
}
}  // namespace
