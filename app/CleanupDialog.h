#pragma once
#include <windows.h>

// The main window of the interactive mode (dialog template 102): Cleanup runs a cleanup with
// the animation playing and reports the result, View Log opens the log in Notepad, Help opens
// the help file, and the system menu carries the About item.
class CleanupDialog {
  public:
    CleanupDialog();
    CleanupDialog(const CleanupDialog&) = delete;
    CleanupDialog& operator=(const CleanupDialog&) = delete;

    // Shows the dialog modally as the application's main window until it closes.
    int ShowModal();

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam);
    void Initialise(HWND dialog);
    bool Command(HWND dialog, int command);
    void Cleanup(HWND dialog);
    void PaintMinimised(HWND dialog);

    HICON icon_;
};
