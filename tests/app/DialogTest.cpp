// The main dialog of oberin.exe on the test display: its looks, the About box, Cleanup with the
// clip and the messages, View Log, Help, Exit and Escape.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "app/Desktop.h"
#include "res/resource.h"
#include "run/LogFile.h"
#include "run/SystemQueries.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"

namespace {
using Rows = std::vector<std::vector<std::string>>;
const char kSucceeded[] =
    "Configuration successful.  Please exit application and reboot this server to complete the "
    "configuration.";
const char kFailed[] = "Configuration unsuccessful.  Please check log file";

// Each control of dialog, a row each: class, identifier, place and size in dialog units (the
// dialog has wide by high), tab stop, group and own styles, and text.
Rows Layout(HWND dialog, int wide, int high) {
    RECT client;
    GetClientRect(dialog, &client);
    Rows layout;
    for (HWND child : Children(dialog)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        char line[256], name[32] = "";
        GetClassNameA(child, name, sizeof name);
        std::snprintf(line, sizeof line, "%s %d %d,%d %dx%d %08lx '%s'", name,
                      GetDlgCtrlID(child) & 0xFFFF, MulDiv(r.left, wide, client.right),
                      MulDiv(r.top, high, client.bottom),
                      MulDiv(r.right - r.left, wide, client.right),
                      MulDiv(r.bottom - r.top, high, client.bottom),
                      GetWindowLongA(child, GWL_STYLE) & (WS_TABSTOP | WS_GROUP | 0xFFFF),
                      TextOf(child).c_str());
        layout.push_back({line});
    }
    return layout;
}

class DialogTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        // The test display has no window manager: Wine would wait two seconds for one to take
        // every closing window away. Windows it does not hand to a manager close at once.
        ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", "N"));
    }
    void SetUp() override {
        work_ = FreshFolder("C:\\work");
        RemoveTree(LogPathIn(SystemDirectory()));
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
    bool Ends() const {
        return WaitForSingleObject(process_.hProcess, kWaitLimitMs) == WAIT_OBJECT_0;
    }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    static void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }
    static bool Gone(HWND window) {
        return Eventually([&] { return !IsWindowVisible(window); });
    }
    // Closes the next message box of the program, captioned with its name, with its OK button
    // and returns its message; "" when none came.
    static std::string Dismiss() {
        HWND box = WaitForWindow("#32770", "oberin");
        const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
        Click(GetDlgItem(box, IDOK));
        EXPECT_TRUE(Gone(box));
        return text;
    }

    std::string work_;
    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
};

TEST_F(DialogTest, SlashSOpensTheDialogAsLaidOutItsSystemMenuTheAboutBoxAndEscapeEndsIt) {
    ASSERT_TRUE(Start("/s"));
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(frame,
              GetWindowLongA(dialog_, GWL_STYLE) & (frame | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(dialog_, GWL_EXSTYLE) & WS_EX_APPWINDOW);  // on the task bar
    EXPECT_EQ(CaseTable("app\\dialog.txt"), Layout(dialog_, 209, 93));
    // The keyboard's way: Alt+Space opens the menu, Up wraps round to its last item, Enter.
    PostMessageA(dialog_, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    ASSERT_TRUE(WaitForWindow("#32768"));
    PostMessageA(dialog_, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(dialog_, WM_KEYDOWN, VK_RETURN, 0);
    HWND about = WaitForWindow("#32770", "About Oberin");
    EXPECT_EQ(CaseTable("app\\about.txt"), Layout(about, 217, 55));
    Click(GetDlgItem(about, IDOK));
    EXPECT_TRUE(Gone(about));
    // Escape on the focused button goes through the dialog's keyboard handling.
    PostMessageA(Item(IDC_CLEANUP), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Ends());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((work_ + "\\oberin.log").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(LogPathIn(SystemDirectory()).c_str()));
}

TEST_F(DialogTest, CleanupReportsSuccessWhileTheClipPlaysTwiceAlikeViewLogAndHelpOpenTillExit) {
    ASSERT_TRUE(Start());
    HWND clip = Item(IDC_ANIMATION);
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        DeleteFileA((work_ + "\\oberin.log").c_str());
        Click(Item(IDC_CLEANUP));
        HWND box = WaitForWindow("#32770", "oberin");
        EXPECT_EQ(dialog_, GetWindow(box, GW_OWNER));
        // While the result is up the clip plays on, longer than one round of its four frames.
        int changes = 0;
        while (changes < 6 && PictureChanges(clip, 1000)) ++changes;
        EXPECT_EQ(6, changes);
        EXPECT_EQ(kSucceeded, Dismiss());
        EXPECT_EQ(ReadWholeFile(TestsDir() + "\\machines\\clean\\expected.log"),
                  ReadWholeFile(work_ + "\\oberin.log"));
        EXPECT_TRUE(Eventually([&] { return !PictureChanges(clip, 500); }, 3000));  // then it stops
    }
    const std::string log = ReadWholeFile(work_ + "\\oberin.log");
    Click(Item(IDC_VIEW_LOG));
    HWND text = FindWindowExA(WaitForWindow("Notepad"), nullptr, "Edit", nullptr);
    EXPECT_TRUE(Eventually([&] { return TextOf(text) == log; })) << TextOf(text);
    PostMessageA(GetParent(text), WM_CLOSE, 0, 0);
    Click(Item(IDC_HELP_BUTTON));
    HWND help = WaitForWindow("MS_WINHELP", "Oberin Help");
    // The contents topic, as winhlp32 shows it in its text control.
    std::string shown;
    EXPECT_TRUE(Eventually([&] {
        shown.clear();
        for (HWND child : Children(help)) shown += TextOf(child);
        return shown.find("What Oberin does") != std::string::npos;
    })) << shown;
    Click(Item(IDCANCEL));
    EXPECT_TRUE(Ends());
    EXPECT_TRUE(Gone(help));
}

TEST_F(DialogTest, CleanupOnAnUnsupportedVersionShowsTheRunsMessageThenTheFailure) {
    ASSERT_TRUE(SetWindowsVersion("win2k"));
    Start();  // a program keeps the version it started with
    ASSERT_TRUE(SetWindowsVersion("nt40"));
    Click(Item(IDC_CLEANUP));
    EXPECT_EQ("Oberin is not supported on this version of Windows.", Dismiss());
    EXPECT_EQ(kFailed, Dismiss());
}

TEST_F(DialogTest, CleanupWithNoPlaceForTheLogSaysSoThenShowsTheFailure) {
    ASSERT_TRUE(CreateDirectoryA((work_ + "\\oberin.log").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(LogPathIn(SystemDirectory()).c_str(), nullptr));
    ASSERT_TRUE(Start());
    Click(Item(IDC_CLEANUP));
    EXPECT_EQ("Failed to open Log File:  Application exiting.", Dismiss());
    EXPECT_EQ(kFailed, Dismiss());
}
}  // namespace
