#include "app/MainWindow.h"

#include "base/PathText.h"

namespace {
// The main window while the dialog is shown.
HWND mainWindow = nullptr;

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

void MainWindow::Help() {
    WinHelpA(Get(), HelpFile().c_str(), HELP_FINDER, 0);
}

std::string MainWindow::ProgramName() {
    std::string path = ModulePath();
    const std::size_t slash = LastSeparator(path);
    if (slash != std::string::npos) path.erase(0, slash + 1);
    const std::size_t dot = ExtensionDot(path);
    if (dot != std::string::npos) path.erase(dot);
    return path;
}

std::string MainWindow::HelpFile() {
    std::string path = ModulePath();
    const std::size_t dot = ExtensionDot(path);
    if (dot != std::string::npos) path.erase(dot);
    return path + ".HLP";
}

HWND MainWindow::Get() {
    return mainWindow;
}

void MainWindow::Set(HWND window) {
    mainWindow = window;
}
