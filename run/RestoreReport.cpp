#include "run/RestoreReport.h"

namespace {
const char* StateText(const Change& change) {
    return !change.present ? "not there" : change.alreadySet ? "already as saved" : "differs now";
}

std::string FailedText(DWORD error) {
    return "failed " + std::to_string(error);
}
}  // namespace

RestoreReport::RestoreReport(LogFile& file, bool preview) : file_(file), preview_(preview) {}

void RestoreReport::Line(const Change& change, const std::string& outcome, bool restored) {
    ++items_;
    if (!restored) ++failed_;
    file_.Write(std::string(ActionText(change.action)) + "\t" + change.target + "\t" +
                StateText(change) + (outcome.empty() ? "" : "\t" + outcome) + "\n");
}

Admission RestoreReport::Admit(const Change& change) {
    if (!preview_) return Admission::Make;
    ++wouldChange_;
    Line(change, "", true);
    return Admission::HoldBack;
}

void RestoreReport::Report(const Change& change, ChangeOutcome outcome, DWORD error) {
    if (outcome == ChangeOutcome::Failed)
        Line(change, FailedText(error), false);
    else
        Line(change, "done", true);
}

void RestoreReport::Left(const Change& change) {
    Line(change, "already as saved", true);
}

void RestoreReport::NotRestored(const Change& change, const std::string& why) {
    Line(change, preview_ ? "would not be restored: " + why : why, false);
}

void RestoreReport::NotRestored(const Change& change, DWORD error) {
    NotRestored(change, FailedText(error));
}

void RestoreReport::BeginKit(const std::string& heading) {
    items_ = failed_ = 0;
    file_.Write(heading + "\n");
}

void RestoreReport::EndKit() {
    file_.Write(std::to_string(Restored()) + " of " + std::to_string(items_) +
                (preview_ ? " items of the kit as saved or to be restored.\n\n"
                          : " items of the kit restored.\n\n"));
}
