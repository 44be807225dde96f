#pragma once
#include "run/Component.h"
#include "run/ProductKind.h"

// One whole cleanup: opens the log, checks the Windows version, detects and removes every
// catalog product in its fixed order with one log block each, closes the log and runs the
// network setup when a network product asked for it.
class CleanupRun {
  public:
    CleanupRun() = default;
    CleanupRun(const CleanupRun&) = delete;
    CleanupRun& operator=(const CleanupRun&) = delete;

    // True when every product found was removed completely; false on any early end. silent
    // suppresses the message boxes and nothing else.
    bool Run(bool silent);
};

// Writes the log block of one catalog entry, removing the product when it is installed.
// False only when a removal was attempted and failed.
bool ReportProduct(Component& product, const char* displayName, ProductKind kind);

// Opens the process log in the current directory, else in the system directory.
bool OpenRunLog();
