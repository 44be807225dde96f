#pragma once
#include <string>

#include "core/LogFile.h"
#include "sysaccess/ChangeGate.h"

// The gate of a restore and of its preview. Each item of a kit is a change of a restore action
// whose state says what stands there now against what the kit saved: not there (present false),
// already as saved (alreadySet) or differs now. A restore lets each change through and writes
// a line when it is reported: action, target, what stood there, and "done" or "failed <code>",
// tab-separated; a preview holds each back and writes its line without an outcome. Items the
// restore leaves or cannot take are written by the calls below, in either mode.
class RestoreReport : public ChangeGate {
  public:
    // file: open; preview: hold every change back.
    RestoreReport(LogFile& file, bool preview);
    RestoreReport(const RestoreReport&) = delete;
    RestoreReport& operator=(const RestoreReport&) = delete;

    Admission Admit(const Change& change) override;
    void Report(const Change& change, ChangeOutcome outcome, DWORD error) override;
    // An item already as saved, which the restore leaves: outcome "already as saved".
    void Left(const Change& change);
    // An item the restore cannot bring back, for why ("failed <code>", "missing from the kit").
    void NotRestored(const Change& change, const std::string& why);
    // The same for the platform's code error: "failed <code>".
    void NotRestored(const Change& change, DWORD error);

    // A kit's heading, and the count of its items after them; the counts start anew.
    void BeginKit(const std::string& heading);
    void EndKit();
    // The items of the kit begun last and of those how many came back (or stand as saved).
    unsigned Items() const { return items_; }
    unsigned Restored() const { return items_ - failed_; }
    // A preview's count of the changes a restore would make.
    unsigned WouldChange() const { return wouldChange_; }

  private:
    void Line(const Change& change, const std::string& outcome, bool restored);

    LogFile& file_;
    bool preview_;
    unsigned items_ = 0;
    unsigned failed_ = 0;
    unsigned wouldChange_ = 0;
};
