#include "app/CleanupDialog.h"

#include <commctrl.h>

#include "app/AboutDialog.h"
#include "app/LogViewer.h"
#include "app/MainWindow.h"
#include "base/DllModule.h"
#include "res/resource.h"
#include "run/CleanupRun.h"
#include "run/RunLock.h"

namespace {
const char kSucceeded[] =
    "Configuration successful.  Please exit application and reboot this server to complete the "
    "configuration.";
const char kFailed[] = "Configuration unsuccessful.  Please check log file";

// Repeat count and frame range of the clip: without end, from the first frame to the last.
const WPARAM kRepeatForever = static_cast<WPARAM>(-1);
const LPARAM kAllFrames = MAKELPARAM(0, 0xFFFF);

void AppendAboutItem(HWND dialog) {
    HMENU menu = GetSystemMenu(dialog, FALSE);
    char item[64] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUT_ITEM, item, sizeof item);
    if (!menu || !item[0]) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, item);
}
}  // namespace

CleanupDialog::CleanupDialog()
    : icon_(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_OBERIN))) {}

int CleanupDialog::ShowModal() {
    // Registers the animation control's window class before the template needs it. The common
    // controls are loaded for the dialog alone: a silent run does without them.
    DllModule commonControls("COMCTL32.DLL");
    if (const FARPROC init = commonControls.EntryPoint("InitCommonControls"))
        reinterpret_cast<void(WINAPI*)()>(reinterpret_cast<void*>(init))();
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr),
                                            MAKEINTRESOURCEA(IDD_CLEANUP), nullptr, Procedure,
                                            reinterpret_cast<LPARAM>(this)));
}

INT_PTR CALLBACK CleanupDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<CleanupDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return self ? self->Handle(dialog, message, wParam) : FALSE;
}

INT_PTR CleanupDialog::Handle(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            Initialise(dialog);
            return TRUE;  // the system sets the initial focus
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != IDM_ABOUT) return FALSE;
            AboutDialog().ShowModal(dialog);
            return TRUE;
        case WM_COMMAND:
            return Command(dialog, LOWORD(wParam));
        case WM_PAINT:
            if (!IsIconic(dialog)) return FALSE;
            PaintMinimised(dialog);
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(icon_);
        case WM_DESTROY:
            WinHelpA(dialog, MainWindow::HelpFile().c_str(), HELP_QUIT, 0);
            return FALSE;
    }
    return FALSE;
}

void CleanupDialog::Initialise(HWND dialog) {
    MainWindow::Set(dialog);
    AppendAboutItem(dialog);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
}

bool CleanupDialog::Command(HWND dialog, int command) {
    switch (command) {
        case IDC_CLEANUP:
            Cleanup(dialog);
            return true;
        case IDC_VIEW_LOG:
            ViewLog();
            return true;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return true;
        case IDC_HELP_BUTTON:
            MainWindow::Help();
            return true;
    }
    return false;
}

void CleanupDialog::Cleanup(HWND dialog) {
    RunLock lock;
    if (!lock.Held()) {
        MessageBoxA(dialog, kAnotherRunText, MainWindow::ProgramName().c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    HWND animation = GetDlgItem(dialog, IDC_ANIMATION);
    SendMessageA(animation, ACM_OPENA, 0,
                 reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDR_CLEANUP_CLIP)));
    SendMessageA(animation, ACM_PLAY, kRepeatForever, kAllFrames);
    bool succeeded;
    {
        CleanupRun run(dialog, MainWindow::ProgramName());
        succeeded = run.Run(false);
    }
    // The clip keeps playing on the control's own thread until the user has read the result.
    MessageBoxA(dialog, succeeded ? kSucceeded : kFailed, MainWindow::ProgramName().c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    SendMessageA(animation, ACM_STOP, 0, 0);
}

void CleanupDialog::PaintMinimised(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    SendMessageA(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(dialog, &client);
    const int left = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int top = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, left, top, icon_);
    EndPaint(dialog, &paint);
}
