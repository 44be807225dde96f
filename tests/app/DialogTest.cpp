// The main dialog of the running oberin.exe on the test display: its looks, the About box,
// Cleanup with the animation and the result message, View Log, Help, Exit and Escape.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <set>

#include "app/Desktop.h"
#include "run/LogFile.h"
#include "run/SystemQueries.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"

namespace {
const char kCaption[] = "Windows 2000 Oberin Utility from Velmora";
const char kSucceeded[] =
    "Configuration successful.  Please exit application and reboot this server to complete the "
    "configuration.";
const char kFailed[] = "Configuration unsuccessful.  Please check log file";

class DialogTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Without a window manager on the test display, Wine draws the frames and captions
        // itself, so that screenshots show them.
        WriteString(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Decorated", "N");
    }

    void SetUp() override {
        work_ = FreshFolder("C:\\work");
        DeleteFileA(LogPathIn(SystemDirectory()).c_str());
    }

    // The message box of process that oberin shows with its name as caption.
    static HWND WaitForMessageBox(const RunningOberin& oberin) {
        return WaitForWindow("#32770", "oberin", oberin.Id());
    }

    // Ends the program with the dialog's Exit button.
    static void ClickExit(RunningOberin& oberin, HWND dialog) {
        Click(GetDlgItem(dialog, IDCANCEL));
        ExpectEnd(oberin);
    }
    static void ExpectEnd(RunningOberin& oberin) {
        DWORD code = 99;
        EXPECT_TRUE(oberin.WaitForExit(10000, &code));
    }

    static void Dismiss(HWND box) {
        Click(GetDlgItem(box, IDOK));
        EXPECT_TRUE(WaitForWindowGone(box));
    }

    std::string work_;
};

struct Control {
    int id;
    const char* className;
    const char* text;
    RECT units;  // left, top, right, bottom in dialog units
    DWORD style;
};

TEST_F(DialogTest, ShowsItsCaptionAndControlsAsLaidOut) {
    RunningOberin oberin("", work_);
    HWND dialog = oberin.Dialog();
    ASSERT_TRUE(dialog);
    Sleep(500);
    SaveScreenshot("dialog");

    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE,
              style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE));
    EXPECT_EQ(0, style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    const Control expected[] = {
        {1000, "Button", "Cleanup", {152, 18, 202, 32}, WS_TABSTOP | BS_PUSHBUTTON},
        {1002, "Button", "View Log", {152, 36, 202, 50}, WS_TABSTOP | BS_PUSHBUTTON},
        {2, "Button", "Exit", {152, 54, 202, 68}, WS_TABSTOP | BS_PUSHBUTTON},
        {57670, "Button", "&Help", {152, 72, 202, 86}, WS_TABSTOP | BS_PUSHBUTTON},
        {0xFFFF,
         "Static",
         "Press Cleanup to remove Windows 2000 non-supported Velmora utilites and drivers",
         {10, 34, 141, 60},
         WS_GROUP | SS_LEFT},
        {1001, "SysAnimate32", "", {57, 66, 77, 86}, ACS_TRANSPARENT},
    };
    std::vector<HWND> children = Children(dialog);
    ASSERT_EQ(6u, children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        HWND child = children[i];
        const Control& control = expected[i];
        SCOPED_TRACE(control.text);
        EXPECT_EQ(control.id, GetDlgCtrlID(child) & 0xFFFF);
        EXPECT_STREQ(control.className, ClassOf(child).c_str());
        if (control.id != 1001) {
            EXPECT_EQ(control.text, WindowText(child));
        }
        const DWORD childStyle = GetWindowLongA(child, GWL_STYLE);
        EXPECT_EQ(control.style, childStyle & (control.style | 0xF | ACS_TIMER));
    }
    // Dialog units measured on the running dialog: every control lies where its units put it.
    const RECT cleanup = ClientRectOf(children[0]);
    const RECT help = ClientRectOf(children[3]);
    const double unitX = cleanup.left / 152.0;
    const double unitY = help.bottom / 86.0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const RECT actual = ClientRectOf(children[i]);
        const RECT& units = expected[i].units;
        SCOPED_TRACE(expected[i].text);
        EXPECT_NEAR(units.left * unitX, actual.left, 2);
        EXPECT_NEAR(units.top * unitY, actual.top, 2);
        EXPECT_NEAR((units.right - units.left) * unitX, actual.right - actual.left, 2);
        EXPECT_NEAR((units.bottom - units.top) * unitY, actual.bottom - actual.top, 2);
    }
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_NEAR(209 * unitX, client.right, 2);
    EXPECT_NEAR(93 * unitY, client.bottom, 2);
}

TEST_F(DialogTest, SystemMenuEndsWithTheAboutItemWhichOpensTheAboutBox) {
    RunningOberin oberin("", work_);
    HWND dialog = oberin.Dialog();
    ASSERT_TRUE(dialog);
    // Open the system menu from the keyboard, step up to its last item and choose it.
    PostMessageA(dialog, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    HWND menu = WaitForWindow("#32768", nullptr, oberin.Id());
    ASSERT_TRUE(menu);
    Sleep(300);
    SaveScreenshot("system-menu");
    // Choosing the item sends its command; the screenshot shows it at the end of the menu.
    PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitForWindowGone(menu));
    PostMessageA(dialog, WM_SYSCOMMAND, 16, 0);
    HWND about = WaitForWindow("#32770", "About Oberin", oberin.Id());
    ASSERT_TRUE(about);
    Sleep(300);
    SaveScreenshot("about");

    std::vector<HWND> children = Children(about);
    ASSERT_EQ(4u, children.size());
    EXPECT_EQ(SS_ICON, GetWindowLongA(children[0], GWL_STYLE) & 0x1F);
    EXPECT_EQ("Oberin Version 1.5", WindowText(children[1]));
    EXPECT_TRUE(GetWindowLongA(children[1], GWL_STYLE) & SS_NOPREFIX);
    EXPECT_FALSE(WindowText(children[2]).empty());
    EXPECT_EQ(IDOK, GetDlgCtrlID(children[3]));
    EXPECT_EQ("OK", WindowText(children[3]));
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(children[3], GWL_STYLE) & 0xF);
    Click(children[3]);
    EXPECT_TRUE(WaitForWindowGone(about));
    EXPECT_TRUE(IsWindowVisible(dialog));

    // The low four bits of a system command are the system's own.
    PostMessageA(dialog, WM_SYSCOMMAND, 16 | 3, 0);
    about = WaitForWindow("#32770", "About Oberin", oberin.Id());
    ASSERT_TRUE(about);
    PostMessageA(GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitForWindowGone(about));
}

// True once window's picture has stayed the same for a second, within six seconds.
bool Settles(HWND window) {
    unsigned long last = PixelSum(window);
    for (int same = 0, i = 0; i < 60; ++i) {
        Sleep(100);
        const unsigned long now = PixelSum(window);
        same = now == last ? same + 1 : 0;
        last = now;
        if (same == 10) return true;
    }
    return false;
}

TEST_F(DialogTest, CleanupOnACleanMachineReportsSuccessWhileTheClipPlays) {
    RunningOberin oberin("", work_);
    HWND dialog = oberin.Dialog();
    ASSERT_TRUE(dialog);
    HWND animation = GetDlgItem(dialog, 1001);
    const unsigned long idle = PixelSum(animation);

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        DeleteFileA((work_ + "\\oberin.log").c_str());
        Click(GetDlgItem(dialog, 1000));
        HWND box = WaitForMessageBox(oberin);
        ASSERT_TRUE(box);
        EXPECT_EQ(kSucceeded, WindowText(ChildWithText(box, "Static")));
        EXPECT_EQ(dialog, GetWindow(box, GW_OWNER));
        // The clip plays on while the result is up: the control's pixels keep changing.
        std::set<unsigned long> frames;
        for (int i = 0; i < 40 && frames.size() < 3; ++i, Sleep(100))
            frames.insert(PixelSum(animation));
        frames.erase(idle);
        EXPECT_LE(2u, frames.size());
        if (run == 1) SaveScreenshot("cleanup-succeeded");
        EXPECT_EQ(ReadWholeFile(TestsDir() + "\\machines\\clean\\expected.log"),
                  ReadWholeFile(work_ + "\\oberin.log"));

        Dismiss(box);
        // Wine brings another thread's drawing to the screen with some delay: once the
        // picture has settled, it stays.
        EXPECT_TRUE(Settles(animation));
        const unsigned long stopped = PixelSum(animation);
        for (int i = 0; i < 15; ++i, Sleep(100)) EXPECT_EQ(stopped, PixelSum(animation));
    }
    ClickExit(oberin, dialog);
}

TEST_F(DialogTest, CleanupOnAnUnsupportedVersionReportsFailureAfterTheRunsOwnMessage) {
    ASSERT_TRUE(SetWindowsVersion("win2k"));
    {
        RunningOberin oberin("", work_);
        HWND dialog = oberin.Dialog();
        ASSERT_TRUE(dialog);
        Click(GetDlgItem(dialog, 1000));
        HWND box = WaitForMessageBox(oberin);
        ASSERT_TRUE(box);
        EXPECT_EQ("Oberin is not supported on this version of Windows.",
                  WindowText(ChildWithText(box, "Static")));
        Dismiss(box);
        box = WaitForMessageBox(oberin);
        ASSERT_TRUE(box);
        EXPECT_EQ(kFailed, WindowText(ChildWithText(box, "Static")));
        SaveScreenshot("cleanup-failed");
        Dismiss(box);
    }
    ASSERT_TRUE(SetWindowsVersion("nt40"));
}

// Notepad's text once it has opened a file.
std::string NotepadText() {
    HWND notepad = WaitForWindow("Notepad", nullptr);
    if (!notepad) return "(no notepad)";
    Sleep(300);
    const std::string text =
        EditText(ChildWithText(notepad, "Edit") ? ChildWithText(notepad, "Edit")
                                                : GetWindow(notepad, GW_CHILD));
    EndProcessesWithWindow("Notepad");
    return text;
}

TEST_F(DialogTest, ViewLogOpensTheCurrentLogElseTheSystemDirectoryOne) {
    const std::string systemLog = LogPathIn(SystemDirectory());
    RunningOberin oberin("", work_);
    HWND dialog = oberin.Dialog();
    ASSERT_TRUE(dialog);
    HWND viewLog = GetDlgItem(dialog, 1002);

    ASSERT_TRUE(WriteWholeFile(work_ + "\\oberin.log", "log of the current directory"));
    ASSERT_TRUE(WriteWholeFile(systemLog, "log of the system directory"));
    Click(viewLog);
    EXPECT_EQ("log of the current directory", NotepadText());

    DeleteFileA((work_ + "\\oberin.log").c_str());
    Click(viewLog);
    EXPECT_EQ("log of the system directory", NotepadText());

    // Before any run, with no log anywhere: Notepad still starts on the system directory's
    // path and offers to create it.
    DeleteFileA(systemLog.c_str());
    Click(viewLog);
    HWND notepad = WaitForWindow("Notepad", nullptr, 0, 10000);
    ASSERT_TRUE(notepad);
    DWORD notepadId = 0;
    GetWindowThreadProcessId(notepad, &notepadId);
    HWND question = WaitForWindow("#32770", nullptr, notepadId, 10000);
    ASSERT_TRUE(question);
    HWND text = nullptr;
    for (HWND child : Children(question))
        if (WindowText(child).find("oberin.log") != std::string::npos) text = child;
    ASSERT_TRUE(text);
    EXPECT_NE(std::string::npos, WindowText(text).find(systemLog)) << WindowText(text);
    SaveScreenshot("view-log-missing");
    EndProcessesWithWindow("Notepad");
    EXPECT_TRUE(IsWindowVisible(dialog));
}

// Exit ends the program at the end of the other tests; Escape is checked here.
TEST_F(DialogTest, EscapeEndsTheProgram) {
    RunningOberin oberin("", work_);
    HWND dialog = oberin.Dialog();
    ASSERT_TRUE(dialog);
    // Escape pressed on the focused button goes through the dialog's keyboard handling.
    PostMessageA(GetDlgItem(dialog, 1000), WM_KEYDOWN, VK_ESCAPE, 0);
    ExpectEnd(oberin);
}

TEST_F(DialogTest, SlashSOpensTheDialogAndWritesNoLog) {
    RunningOberin oberin("/s", work_);
    HWND dialog = oberin.Dialog();
    ASSERT_TRUE(dialog);
    Sleep(300);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((work_ + "\\oberin.log").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(LogPathIn(SystemDirectory()).c_str()));
    ClickExit(oberin, dialog);
}

TEST_F(DialogTest, HelpOpensTheHelpFileInWinHelp) {
    RunningOberin oberin("", work_);
    HWND dialog = oberin.Dialog();
    ASSERT_TRUE(dialog);
    Click(GetDlgItem(dialog, 57670));
    HWND help = WaitForWindow("MS_WINHELP", nullptr);
    ASSERT_TRUE(help);
    Sleep(1500);
    SaveScreenshot("help");
    EXPECT_EQ("Oberin Help", WindowText(help));
    // The topic's text as winhlp32 shows it in its text control.
    std::string shown;
    for (HWND child : Children(help)) {
        std::string name = ClassOf(child);
        CharLowerA(&name[0]);
        if (name.find("richedit") != std::string::npos) shown += EditText(child);
    }
    EXPECT_NE(std::string::npos, shown.find("What Oberin does")) << shown;
    EXPECT_NE(std::string::npos, shown.find("Velmora Platform Health Driver"));
    EXPECT_NE(std::string::npos, shown.find("Silent mode"));
    // Closing the dialog closes the help window too.
    ClickExit(oberin, dialog);
    EXPECT_TRUE(WaitForWindowGone(help));
}

}  // namespace
