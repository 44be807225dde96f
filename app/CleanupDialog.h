#pragma once
#include <windows.h>

// The main window of the interactive mode (dialog template 102).
class CleanupDialog {
  public:
    // Shows the dialog modally as the application's main window until it closes.
    int ShowModal();
};
