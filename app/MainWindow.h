#pragma once
#include <windows.h>

#include <string>

// The program as its windows show it: its name captions every message box, its help file lies
// beside it, and its main window (the main dialog while that is shown) owns the help window.
class MainWindow {
  public:
    static HWND Get();
    static void Set(HWND window);
    // The program file's name without extension.
    static std::string ProgramName();
    // The program's path with its extension replaced by ".HLP".
    static std::string HelpFile();
    // Opens the help file's contents and search window, owned by the main window if any.
    static void Help();
};
