#include "app/CleanupApp.h"

#include "app/CleanupDialog.h"
#include "components/PathText.h"
#include "run/CleanupRun.h"

namespace {
HWND mainWindow = nullptr;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string ModulePath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Position of the last separator of path's components, or npos.
std::size_t LastSeparator(const std::string& path) {
    return LastOf(path, "\\/:");
}

// Position of the extension's dot in the last component of path, or npos.
std::size_t ExtensionDot(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string::npos;
    return dot;
}
}  // namespace

const char* ArgumentText(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && !IsBlank(*p)) ++p;
    }
    while (IsBlank(*p)) ++p;
    return p;
}

bool IsSilentArgument(const char* argumentText) {
    return argumentText[0] == 's' || argumentText[0] == 'S';
}

void CleanupApp::Start() {
    if (IsSilentArgument(ArgumentText(GetCommandLineA()))) {
        CleanupRun run;
        run.Run(true);
        return;
    }
    CleanupDialog dialog;
    SetMainWindow(nullptr);
    dialog.ShowModal();
    SetMainWindow(nullptr);
}

void CleanupApp::Help() {
    WinHelpA(MainWindow(), HelpFile().c_str(), HELP_FINDER, 0);
}

std::string CleanupApp::Name() {
    std::string path = ModulePath();
    const std::size_t slash = LastSeparator(path);
    if (slash != std::string::npos) path.erase(0, slash + 1);
    const std::size_t dot = ExtensionDot(path);
    if (dot != std::string::npos) path.erase(dot);
    return path;
}

std::string CleanupApp::HelpFile() {
    std::string path = ModulePath();
    const std::size_t dot = ExtensionDot(path);
    if (dot != std::string::npos) path.erase(dot);
    return path + ".HLP";
}

HWND CleanupApp::MainWindow() {
    return mainWindow;
}

void CleanupApp::SetMainWindow(HWND window) {
    mainWindow = window;
}
