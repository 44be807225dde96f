#pragma once
#include <windows.h>

#include <string>

#include "core/Component.h"
#include "core/LogFile.h"
#include "core/ProductKind.h"
#include "core/RunRecord.h"
#include "run/RunStatus.h"

// One whole cleanup: opens the log, checks the Windows version, detects and removes every
// catalog product in its fixed order with one log block each, closes the log and runs the
// network setup when a network product asked for it.
class CleanupRun {
  public:
    // owner owns the message boxes and, through its last active pop-up, the network setup;
    // without one the setup gets a hidden window of the run's own. caption titles the boxes.
    explicit CleanupRun(HWND owner = nullptr, std::string caption = std::string());
    CleanupRun(const CleanupRun&) = delete;
    CleanupRun& operator=(const CleanupRun&) = delete;

    // True when every product found was removed completely and the log was written completely;
    // false on any early end. silent suppresses the message boxes and nothing else. Every
    // change is saved into a restore kit first and reported in oberin-changes.txt, both beside
    // the log.
    bool Run(bool silent);
    // Detects and walks every removal step as a silent run would, with every change held back
    // and written to oberin-preview.txt where the log would go; the log is left alone. 1 when
    // the run would change something, else 0.
    int Preview();
    // What the last Run or Preview met and did.
    const CleanupTally& Tally() const { return tally_; }

  private:
    // Detects and removes the catalog entries in order, telling record each entry, closes the
    // log and runs the network setup when asked for; false when any removal or the log failed.
    bool RemoveCatalog(RunRecord& record);
    void Tell(const char* text) const;
    void FinishNetworkSetup() const;

    HWND owner_;
    std::string caption_;
    CleanupTally tally_;
};
