#pragma once
#include <string>

#include "core/LogFile.h"
#include "core/RunRecord.h"

// The gate of a preview: holds every change back and writes it to oberin-preview.txt instead,
// one line a change under the line of its catalog entry (entry, action, target and "not there"
// for a target missing now, "not empty" for a folder that holds something now or "already set"
// for a value that holds what would be set, tab-separated), then a count by action.
class PreviewReport : public RunRecord {
  public:
    // file: open; written until Finish.
    explicit PreviewReport(LogFile& file);
    PreviewReport(const PreviewReport&) = delete;
    PreviewReport& operator=(const PreviewReport&) = delete;

    void BeginEntry(int number, const std::string& name, const char* detection) override;
    Admission Admit(const Change& change) override;
    void Report(const Change&, ChangeOutcome, DWORD) override {}
    // Writes a line of text in place of the entries (a run that would end early).
    void Note(const std::string& text);
    // Writes the counts. Returns how many changes a run would make: those whose target is there
    // now (a folder: and empty), and values to set that hold other data.
    unsigned Finish();

  private:
    LogFile& file_;
    int entry_ = 0;
    unsigned counts_[kChangeActionCount] = {};
    unsigned missing_[kChangeActionCount] = {};
};
