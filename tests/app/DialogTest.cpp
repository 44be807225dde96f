// The main dialog of oberin.exe on the test display: its looks, the About box, Cleanup with the
// clip and the messages, View Log, Help, Exit and Escape.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <set>

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
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", &key));
        RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
        RegCloseKey(key);
    }

    void SetUp() override {
        work_ = FreshFolder("C:\\work");
        RemoveTree(LogPathIn(SystemDirectory()));
    }

    // Starts oberin.exe in the work folder and returns its main dialog, null when none came.
    HWND Start(const std::string& arguments = "") {
        oberin_ = std::make_unique<RunningOberin>(arguments, work_);
        dialog_ =
            WaitForWindow("#32770", "Windows 2000 Oberin Utility from Velmora", oberin_->Id());
        return dialog_;
    }
    HWND Button(int id) const { return GetDlgItem(dialog_, id); }
    // The next message box of the program, captioned with its name; null when none came.
    HWND Box() const { return WaitForWindow("#32770", "oberin", oberin_->Id()); }
    // Closes box with its OK button and returns its message.
    static std::string Dismiss(HWND box) {
        const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
        Click(GetDlgItem(box, IDOK));
        EXPECT_TRUE(WaitForWindowGone(box));
        return text;
    }
    // Clicks Cleanup and returns the messages it shows, up to the result or a missing box.
    std::vector<std::string> CleanupMessages() {
        Click(Button(IDC_CLEANUP));
        std::vector<std::string> texts;
        do texts.push_back(Dismiss(Box()));
        while (texts.back() != kSucceeded && texts.back() != kFailed && !texts.back().empty());
        return texts;
    }

    std::string work_;
    std::unique_ptr<RunningOberin> oberin_;
    HWND dialog_ = nullptr;
};

TEST_F(DialogTest, ShowsItsCaptionAndControlsAsLaidOut) {
    ASSERT_TRUE(Start());
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(frame,
              GetWindowLongA(dialog_, GWL_STYLE) & (frame | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(dialog_, GWL_EXSTYLE) & WS_EX_APPWINDOW);  // on the task bar

    struct Control {
        int id;
        const char* className;
        const char* text;         // null: not checked
        int x, y, width, height;  // dialog units
        DWORD style;
    };
    const Control expected[] = {
        {IDC_CLEANUP, "Button", "Cleanup", 152, 18, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {IDC_VIEW_LOG, "Button", "View Log", 152, 36, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {IDCANCEL, "Button", "Exit", 152, 54, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {IDC_HELP_BUTTON, "Button", "&Help", 152, 72, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        {0xFFFF, "Static",
         "Press Cleanup to remove Windows 2000 non-supported Velmora utilites and drivers", 10, 34,
         131, 26, WS_GROUP | SS_LEFT},
        // Without its own timer the clip plays on the control's thread while a run keeps the
        // dialog's thread busy.
        {IDC_ANIMATION, "SysAnimate32", nullptr, 57, 66, 20, 20, ACS_TRANSPARENT},
    };
    const std::vector<HWND> children = Children(dialog_);
    ASSERT_EQ(6u, children.size());
    auto placeOf = [&](HWND child) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    // Dialog units as the running dialog has them, from Cleanup's left and Help's bottom edge.
    const double unitX = placeOf(children[0]).left / 152.0,
                 unitY = placeOf(children[3]).bottom / 86.0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Control& control = expected[i];
        SCOPED_TRACE(ClassOf(children[i]) + " " + TextOf(children[i]));
        EXPECT_EQ(control.id, GetDlgCtrlID(children[i]) & 0xFFFF);
        EXPECT_EQ(control.className, ClassOf(children[i]));
        if (control.text) {
            EXPECT_EQ(control.text, TextOf(children[i]));
        }
        EXPECT_EQ(control.style,
                  GetWindowLongA(children[i], GWL_STYLE) & (control.style | 0xF | ACS_TIMER));
        const RECT place = placeOf(children[i]);
        EXPECT_NEAR(control.x * unitX, place.left, 2);
        EXPECT_NEAR(control.y * unitY, place.top, 2);
        EXPECT_NEAR(control.width * unitX, place.right - place.left, 2);
        EXPECT_NEAR(control.height * unitY, place.bottom - place.top, 2);
    }
    RECT client;
    GetClientRect(dialog_, &client);
    EXPECT_NEAR(209 * unitX, client.right, 2);
    EXPECT_NEAR(93 * unitY, client.bottom, 2);
}

TEST_F(DialogTest, TheLastItemOfTheSystemMenuOpensTheAboutBox) {
    ASSERT_TRUE(Start());
    // The keyboard's way: Alt+Space opens the menu, Up wraps round to its last item, Enter.
    PostMessageA(dialog_, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    ASSERT_TRUE(WaitForWindow("#32768", nullptr, oberin_->Id()));
    PostMessageA(dialog_, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(dialog_, WM_KEYDOWN, VK_RETURN, 0);
    HWND about = WaitForWindow("#32770", "About Oberin", oberin_->Id());
    ASSERT_TRUE(about);
    const std::vector<HWND> children = Children(about);
    ASSERT_EQ(4u, children.size());
    EXPECT_EQ(SS_ICON, GetWindowLongA(children[0], GWL_STYLE) & SS_TYPEMASK);
    EXPECT_EQ("Oberin Version 1.5", TextOf(children[1]));
    EXPECT_NE("", TextOf(children[2]));
    EXPECT_EQ("OK", TextOf(GetDlgItem(about, IDOK)));
    Click(GetDlgItem(about, IDOK));
    EXPECT_TRUE(WaitForWindowGone(about));
    EXPECT_TRUE(IsWindowVisible(dialog_));
}

// True when window's picture stays the same for half a second.
bool Steady(HWND window) {
    const unsigned long first = PixelSum(window);
    for (int i = 0; i < 10; ++i, Sleep(50))
        if (PixelSum(window) != first) return false;
    return true;
}

TEST_F(DialogTest, CleanupOnACleanMachineReportsSuccessWhileTheClipPlays) {
    ASSERT_TRUE(Start());
    HWND animation = Button(IDC_ANIMATION);
    std::set<unsigned long> pictures = {PixelSum(animation)};
    Click(Button(IDC_CLEANUP));
    HWND box = Box();
    ASSERT_TRUE(box);
    EXPECT_EQ(dialog_, GetWindow(box, GW_OWNER));
    // While the result is up the clip plays: the control shows two pictures besides the idle one.
    EXPECT_TRUE(Eventually(
        [&] { return pictures.insert(PixelSum(animation)), pictures.size() > 2; }, 3000));
    EXPECT_EQ(kSucceeded, Dismiss(box));
    EXPECT_EQ(ReadWholeFile(TestsDir() + "\\machines\\clean\\expected.log"),
              ReadWholeFile(work_ + "\\oberin.log"));
    // Then it stops.
    EXPECT_TRUE(Eventually([&] { return Steady(animation); }, 5000));
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
    Click(Button(IDC_VIEW_LOG));
    HWND notepad = WaitForWindow("Notepad");
    ASSERT_TRUE(notepad);
    HWND text = FindWindowExA(notepad, nullptr, "Edit", nullptr);
    const std::string log = ReadWholeFile(work_ + "\\oberin.log");
    EXPECT_TRUE(Eventually([&] { return TextOf(text) == log; })) << TextOf(text);
    EndProcessOf(notepad);
}

TEST_F(DialogTest, EscapeEndsTheProgram) {
    ASSERT_TRUE(Start());
    // Escape on the focused button goes through the dialog's keyboard handling.
    PostMessageA(Button(IDC_CLEANUP), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(oberin_->Ends());
}

TEST_F(DialogTest, SlashSOpensTheDialogAndWritesNoLog) {
    ASSERT_TRUE(Start("/s"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((work_ + "\\oberin.log").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(LogPathIn(SystemDirectory()).c_str()));
}

TEST_F(DialogTest, HelpOpensTheHelpFileInWinHelpUntilExitEndsTheProgram) {
    ASSERT_TRUE(Start());
    Click(Button(IDC_HELP_BUTTON));
    HWND help = WaitForWindow("MS_WINHELP", "Oberin Help");
    ASSERT_TRUE(help);
    // The contents topic as winhlp32 shows it in its text control.
    auto shown = [&] {
        std::string text;
        for (HWND child : Children(help)) {
            std::string name = ClassOf(child);
            if (CharLowerA(&name[0]), name.find("richedit") != std::string::npos)
                text += TextOf(child);
        }
        return text;
    };
    EXPECT_TRUE(Eventually([&] { return shown().find("Silent mode") != std::string::npos; }));
    EXPECT_NE(std::string::npos, shown().find("What Oberin does")) << shown();
    EXPECT_NE(std::string::npos, shown().find("Velmora Platform Health Driver"));
    Click(Button(IDCANCEL));
    EXPECT_TRUE(oberin_->Ends());
    EXPECT_TRUE(WaitForWindowGone(help));
}
}  // namespace
