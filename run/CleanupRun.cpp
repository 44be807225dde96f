#include "run/CleanupRun.h"

#include <utility>

#include "base/ScopedHandle.h"
#include "base/SystemQueries.h"
#include "components/Catalog.h"
#include "core/LogFile.h"
#include "core/RunFiles.h"
#include "run/ChangeReport.h"
#include "run/PreviewReport.h"
#include "sysaccess/NetworkSetup.h"

namespace {
// A display name without its closing line end.
std::string Shown(const char* displayName) {
    std::string name = displayName;
    if (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}
}  // namespace

CleanupRun::CleanupRun(HWND owner, std::string caption)
    : owner_(owner), caption_(std::move(caption)) {}

namespace {
// Writes the log block of one catalog entry, removing the product when it is installed.
// False only when a removal was attempted and failed.
bool ReportProduct(Component& product, const char* displayName, ProductKind kind, bool installed) {
    LogFile& log = TheLogFile();
    bool removed = true;
    log.Write("Product Name:    ");
    log.Write(displayName);
    if (installed) {
        log.Write("Action:          ");
        log.Write(DetectedText(kind));
        log.Write("                 Attempting to remove...\n");
        removed = product.Remove();
        if (removed) {
            log.Write(RemovedText(kind));
            log.Write("Warning:         N/A\n");
        } else {
            log.Write(NotRemovedText(kind));
        }
    } else {
        log.Write("Action:          ");
        log.Write(NotInstalledText(kind));
        log.Write("                 Utility from Velmora is not attempting to remove it.\n");
        log.Write("Warning:         N/A\n");
    }
    log.Write(LogSeparator);
    return removed;
}
}  // namespace

void CleanupRun::Tell(const char* text) const {
    MessageBoxA(owner_, text, caption_.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// Without an owner (a silent run) a hidden 1 by 1 window of our own owns the setup.
void CleanupRun::FinishNetworkSetup() const {
    if (owner_) {
        RunNetworkSetup(GetLastActivePopup(owner_));
        return;
    }
    const WindowHandle hidden(CreateWindowExA(0, "STATIC", "Oberin", 0, 0, 0, 1, 1, nullptr,
                                              nullptr, GetModuleHandleA(nullptr), nullptr));
    RunNetworkSetup(hidden.Get());
}

bool CleanupRun::Run(bool silent) {
    LogFile& log = TheLogFile();
    tally_ = CleanupTally();
    tally_.logOpened = OpenRunLog();
    if (!tally_.logOpened) {
        if (!silent) Tell("Failed to open Log File:  Application exiting.");
        return false;
    }
    tally_.supported = IsSupportedVersion();
    if (!tally_.supported) {
        log.Write(std::string(kNotSupportedText) + "\n");
        log.Close();
        if (!silent) Tell(kNotSupportedText);
        return false;
    }
    ChangeReport changes(log.Path());
    InstalledChangeGate gate(changes);
    log.Write(LogSeparator);
    tally_.result = RemoveCatalog(changes);
    tally_.errors = log.Errors();
    tally_.changed = changes.Changed();
    tally_.notSaved = changes.NotSaved();
    changes.Close();
    return tally_.result;
}

int CleanupRun::Preview() {
    LogFile file;
    tally_ = CleanupTally();
    tally_.logOpened = OpenRunFile(file, "oberin-preview.txt");
    PreviewReport preview(file);
    tally_.supported = IsSupportedVersion();
    if (!tally_.supported) {
        preview.Note(std::string(kNotSupportedText) + "\n");
    } else {
        InstalledChangeGate gate(preview);
        RemoveCatalog(preview);
    }
    tally_.wouldChange = preview.Finish();
    tally_.logComplete = file.Close();
    return tally_.wouldChange > 0 ? 1 : 0;
}

bool CleanupRun::RemoveCatalog(RunRecord& record) {
    bool result = true;
    // The components live until the network setup is done and go in reverse order.
    CatalogProducts products;
    for (int number = 1; number < kCatalogSize; ++number) {
        const CatalogEntry& entry = kCatalog[number - 1];
        Component& product = products.Entry(number);
        const bool installed = product.IsInstalled();
        record.BeginEntry(number, Shown(entry.displayName),
                          installed ? "detected" : "not detected");
        const bool removed = ReportProduct(product, entry.displayName, entry.kind, installed);
        if (installed) ++(removed ? tally_.removed : tally_.notRemoved);
        if (!removed) result = false;
    }
    // The last entry has no block and is removed whether or not anything of it is there.
    record.BeginEntry(kCatalogSize, kCatalog[kCatalogSize - 1].displayName,
                      "removed without detection");
    if (!products.Entry(kCatalogSize).Remove()) result = false;

    // A report that could not be written completely cannot tell the run's success.
    tally_.logComplete = TheLogFile().Close();
    if (!tally_.logComplete) result = false;
    record.BeginEntry(0, std::string(), "");
    if (products.NetworkSetupRequested()) FinishNetworkSetup();
    return result;
}
