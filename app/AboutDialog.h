#pragma once
#include <windows.h>

// The About box (dialog template 100): the program's icon, version and notice, closed by OK.
class AboutDialog {
  public:
    // Shows the box modally over owner until OK (or Escape) closes it.
    int ShowModal(HWND owner);

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};
