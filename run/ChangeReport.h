#pragma once
#include <string>

#include "core/LogFile.h"
#include "core/RunRecord.h"
#include "restore/RestoreKit.h"

// The gate of a real run: saves what each change replaces into the restore kit, lets the change
// through and writes its outcome to oberin-changes.txt beside the log, one line a change:
// entry, action, target and "done", "at restart", "absent" or "failed <code>", tab-separated,
// with a fifth field "not saved" when the kit could not keep what the change replaced. Last lines
// with entry 0, "restore kit" and the kit's folder (empty: none): "changes not saved for a
// restore: N" when changes made could not be saved, "on a volume without security: anyone may
// change it" where the kit's volume keeps no security.
class ChangeReport : public RunRecord {
  public:
    // logPath: the run's log, which the report lies beside, and the kit when the log's folder is
    // on a local fixed drive (else the kit lies in the system directory).
    explicit ChangeReport(const std::string& logPath);
    ChangeReport(const ChangeReport&) = delete;
    ChangeReport& operator=(const ChangeReport&) = delete;

    void BeginEntry(int number, const std::string& name, const char* detection) override;
    Admission Admit(const Change& change) override;
    void Report(const Change& change, ChangeOutcome outcome, DWORD error) override;
    // Closes the report and keeps a copy in the kit; false when the report could not be written
    // completely.
    bool Close();
    // True once a change was made, now or at the restart.
    bool Changed() const { return changed_; }
    // How many changes made, now or at the restart, the kit could not keep.
    unsigned NotSaved() const { return notSaved_; }

  private:
    LogFile file_;
    RestoreKit kit_;
    int entry_ = 0;
    bool saved_ = true;
    bool changed_ = false;
    unsigned notSaved_ = 0;
};
