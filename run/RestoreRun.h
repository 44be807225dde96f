#pragma once
#include <string>

#include <windows.h>

#include "run/LogFile.h"

// Brings back what a cleanup run saved in a restore kit: the folders, the files with their
// contents and attributes, the registry keys and values of restore.reg, and the run's own
// deletions taken off the restart list. Writes oberin-restore.txt where the log would go, a
// line per item: kind, target and "restored", "already there", "deleted" (a key the run made),
// "taken off" or "not on the restart list" (restart entries), or "failed <code>", tab-separated.
class RestoreRun {
  public:
    RestoreRun() = default;
    RestoreRun(const RestoreRun&) = delete;
    RestoreRun& operator=(const RestoreRun&) = delete;

    // kit: the kit's folder; empty: the newest kit beside the log, in the current directory,
    // else in the system directory. 0 when everything came back, else 1.
    int Run(const std::string& kit);
    // After Run: whether a kit was found, its items and how many of them came back.
    bool KitFound() const { return found_; }
    unsigned Items() const { return items_; }
    unsigned Restored() const { return items_ - failed_; }

  private:
    // One line of the report: outcome, or "failed <error>" for an error other than 0.
    void Item(const char* kind, const std::string& target, DWORD error, const char* outcome);
    void Restore(const std::string& kit);
    // The copies in folder copies, below the kit's files folder at below, back in their places.
    void RestoreFiles(const std::string& copies, const std::string& below);

    LogFile report_;
    unsigned items_ = 0;
    unsigned failed_ = 0;
    bool found_ = false;
};

// The newest kit (by its name, the time it was made) in folder; empty when there is none.
std::string NewestKit(const std::string& folder);
