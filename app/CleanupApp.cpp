#include "app/CleanupApp.h"

#include <cstring>

#include "app/CleanupDialog.h"
#include "app/MainWindow.h"
#include "run/CleanupRun.h"
#include "run/RestoreRun.h"
#include "run/RunLock.h"
#include "run/StatusMif.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
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

namespace {
// The text after option when text begins with it behind "/" or "-", letters in any case.
const char* AfterOption(const char* text, const char* option) {
    if (*text != '/' && *text != '-') return nullptr;
    const std::size_t length = std::strlen(option);
    const std::string word(text + 1, strnlen(text + 1, length));
    return lstrcmpiA(word.c_str(), option) == 0 ? text + 1 + length : nullptr;
}
}  // namespace

StartMode ModeOf(const char* argumentText, std::string& kit) {
    if (IsSilentArgument(argumentText)) return StartMode::Silent;
    if (AfterOption(argumentText, "preview")) return StartMode::Preview;
    const char* rest = AfterOption(argumentText, "restore");
    if (!rest) return StartMode::Dialog;
    while (IsBlank(*rest)) ++rest;
    StartMode mode = StartMode::Restore;
    const char* preview = AfterOption(rest, "preview");
    if (preview && (!*preview || IsBlank(*preview))) {
        mode = StartMode::RestorePreview;
        for (rest = preview; IsBlank(*rest);) ++rest;
    }
    kit = rest;
    while (!kit.empty() && IsBlank(kit.back())) kit.pop_back();
    if (kit.size() >= 2 && kit.front() == '"' && kit.back() == '"')
        kit = kit.substr(1, kit.size() - 2);
    return mode;
}

int CleanupApp::Start() {
    std::string kit;
    const StartMode mode = ModeOf(ArgumentText(GetCommandLineA()), kit);
    if (mode == StartMode::Dialog) {
        CleanupDialog dialog;
        dialog.ShowModal();
        MainWindow::Set(nullptr);
        return 0;
    }
    // One run at a time: one started while another runs changes and writes nothing.
    RunLock lock;
    if (!lock.Held()) return 2;
    switch (mode) {
        // Each unattended run leaves its status MIF for the distribution engine; the dialog's
        // runs leave none.
        case StartMode::Silent: {
            CleanupRun run;
            run.Run(true);
            WriteStatusMif("OBERINC.MIF", CleanupStatus(run.Tally()));
            return 0;
        }
        case StartMode::Preview: {
            CleanupRun run;
            const int code = run.Preview();
            WriteStatusMif("OBERINP.MIF", PreviewStatus(run.Tally()));
            return code;
        }
        case StartMode::Restore: {
            RestoreRun run;
            const int code = run.Run(kit);
            WriteStatusMif("OBERINR.MIF", RestoreStatus(run.Tally(), code));
            return code;
        }
        case StartMode::RestorePreview:
            return RestoreRun().Run(kit, true);
        case StartMode::Dialog:
            break;
    }
    return 0;
}
