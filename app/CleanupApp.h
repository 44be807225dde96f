#pragma once
#include <windows.h>

#include <string>

// The application: decides at start-up between a silent run, a preview, a restore and the main
// dialog.
class CleanupApp {
  public:
    // Runs the mode the command line asks for and returns the process's exit code: 0 after a
    // silent run or the dialog; a preview's or a restore's own code; 2 when another run holds
    // the machine (then nothing is written). A silent run, a preview and a restore each leave a
    // status MIF in the Windows directory.
    static int Start();
};

// The command line without the program name (quoted or not) and the blanks after it.
const char* ArgumentText(const char* commandLine);
// An argument text starting with s or S asks for a silent run.
bool IsSilentArgument(const char* argumentText);

enum class StartMode { Dialog, Silent, Preview, Restore, RestorePreview };
// The mode an argument text asks for: silent as above; "/preview" or "/restore" (or with "-",
// letters in any case) at its start for the others, a restore with "/preview" after its blanks
// for the restore's preview, then the kit's folder after their blanks (quotes taken off; empty:
// every kit not restored yet).
StartMode ModeOf(const char* argumentText, std::string& kit);
