#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "restore/KitLayout.h"
#include "run/LogFile.h"

// Brings back what a cleanup run saved in a restore kit, item by item as its manifest lists
// them: the folders, the files with their contents and attributes, the keys the run made
// deleted, the keys and values of restore.reg, and the run's own deletions taken off the restart
// list. What is already as saved counts as restored, so a second restore changes nothing. Writes
// oberin-restore.txt where the log would go, a line per item: kind, target and "restored",
// "already as saved", "deleted" (a key the run made), "taken off" or "not on the restart list"
// (restart entries), "comes back at the next restart" (a service key written back, its deletion
// mark taken off), "missing from the kit" or "failed <code>", tab-separated.
class RestoreRun {
  public:
    RestoreRun() = default;
    RestoreRun(const RestoreRun&) = delete;
    RestoreRun& operator=(const RestoreRun&) = delete;

    // kit: the kit's folder; empty: the newest kit beside the log, in the current directory,
    // else in the system directory. 0 when every item came back or already was as saved, 1 when
    // some did not, 2 when it could not start: no kit, a kit it refuses (others may change it, a
    // part differs from the manifest, or on a volume without security a kit not named), or a
    // version of Windows the cleanup does not support.
    int Run(const std::string& kit);
    // After Run: why it could not start (empty when it did), its items and how many came back.
    const std::string& Stopped() const { return stopped_; }
    unsigned Items() const { return items_; }
    unsigned Restored() const { return items_ - failed_; }

  private:
    // Ends a restore that cannot start, for the reason why, with line as the whole report; 2.
    int Stop(const char* why, const std::string& line);
    // Why the kit is not to be trusted, a line for the report; empty when it may be.
    std::string Refusal(const std::string& kit, bool named);
    void Restore(const std::string& kit);
    void RestoreFile(const std::string& kit, const KitRecord& record);
    void RestoreRegistry();
    // One line of the report, counted as restored or not.
    void Line(const char* kind, const std::string& target, const std::string& outcome,
              bool restored);
    // One line of the report: outcome, or "failed <error>" for an error other than 0.
    void Item(const char* kind, const std::string& target, DWORD error, const char* outcome);

    LogFile report_;
    std::vector<KitRecord> records_;
    // restore.reg up to the end of its last section the manifest lists.
    std::string registry_;
    unsigned items_ = 0;
    unsigned failed_ = 0;
    std::string stopped_;
};
