#pragma once
#include <initializer_list>

// The shared removal recipe of the control-panel tools: an ordered list of deletions.
struct ToolStep {
    enum Kind {
        Executable,  // below the system directory; its result decides, with an error line
        File,        // below the system directory; result ignored
        Shortcut,    // below the common Programs folder (name begins with a backslash); ignored
    };
    Kind kind;
    const char* name;
    const char* shownName = nullptr;  // Executable: the name its error line gives
};

// Runs the steps in order: files with DeleteFileForced, shortcuts with DeleteShortcut. Returns
// the executable's result, or true when the list names none.
bool RemoveToolFiles(std::initializer_list<ToolStep> steps);
