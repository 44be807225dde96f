#include "run/ChangeReport.h"

#include "restore/KitPlaces.h"

ChangeReport::ChangeReport(const std::string& logPath) : kit_(KitsFolderFor(logPath)) {
    file_.Open(BesideLog(logPath, "oberin-changes.txt"));
}

void ChangeReport::BeginEntry(int number, const std::string&, const char*) {
    entry_ = number;
}

Admission ChangeReport::Admit(const Change& change) {
    bool taken = false;
    saved_ = kit_.Save(change, taken) == ERROR_SUCCESS;
    return taken ? Admission::MadeByGate : Admission::Make;
}

void ChangeReport::Report(const Change& change, ChangeOutcome outcome, DWORD error) {
    std::string line =
        std::to_string(entry_) + "\t" + ActionText(change.action) + "\t" + change.target + "\t";
    const bool made = outcome == ChangeOutcome::Done || outcome == ChangeOutcome::AtRestart;
    if (made) changed_ = true;
    switch (outcome) {
        case ChangeOutcome::Done:
            line += "done";
            break;
        case ChangeOutcome::AtRestart:
            line += "at restart";
            break;
        case ChangeOutcome::Absent:
            line += "absent";
            break;
        case ChangeOutcome::Failed:
            line += "failed " + std::to_string(error);
            break;
    }
    if (!kit_.Record(change, outcome)) saved_ = false;
    if (made && !saved_) ++notSaved_;
    file_.Write(line + (saved_ ? "\n" : "\tnot saved\n"));
}

bool ChangeReport::Close() {
    // The report names the kit the run leaves, none when it leaves none.
    kit_.DropIfEmpty();
    const std::string kit = "0\trestore kit\t" + kit_.Folder() + "\t";
    if (notSaved_ > 0)
        file_.Write(kit + "changes not saved for a restore: " + std::to_string(notSaved_) + "\n");
    if (!kit_.OnVolumeWithSecurity())
        file_.Write(kit + "on a volume without security: anyone may change it\n");
    const bool written = file_.Close();
    kit_.Finish(file_.Path());
    return written;
}
