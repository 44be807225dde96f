#include "run/PreviewReport.h"

#include "sysaccess/FileOperations.h"

PreviewReport::PreviewReport(LogFile& file) : file_(file) {
    file_.Write(
        "Oberin preview: what a cleanup run would change on this machine. Nothing has been "
        "changed.\nA line a change: catalog entry, action, target, and \"not there\" when "
        "the target is missing now, \"not empty\" when a folder holds something now.\n\n");
}

void PreviewReport::BeginEntry(int number, const std::string& name, const char* detection) {
    entry_ = number;
    if (number > 0) file_.Write(std::to_string(number) + "\t" + detection + "\t" + name + "\n");
}

Admission PreviewReport::Admit(const Change& change) {
    // A file in use now would be deleted at the restart.
    const ChangeAction shown =
        change.action == ChangeAction::DeleteFile && change.present && FileInUse(change.target)
            ? ChangeAction::DeleteAtRestart
            : change.action;
    // A value to be set where there is none is made: a change.
    const bool missing = !change.present && change.action != ChangeAction::SetValue;
    const int action = static_cast<int>(shown);
    ++counts_[action];
    if (missing || change.notEmpty || change.alreadySet) ++missing_[action];
    file_.Write(std::to_string(entry_) + "\t" + ActionText(shown) + "\t" + change.target +
                (missing             ? "\tnot there\n"
                 : change.notEmpty   ? "\tnot empty\n"
                 : change.alreadySet ? "\talready set\n"
                                     : "\n"));
    return Admission::HoldBack;
}

void PreviewReport::Note(const std::string& text) {
    file_.Write(text);
}

unsigned PreviewReport::Finish() {
    file_.Write(
        "\nChanges by action: how many, and how many of them not there or not empty now.\n");
    unsigned all = 0, missing = 0;
    for (int action = 0; action < kCleanupActionCount; ++action) {
        file_.Write(std::string(ActionText(static_cast<ChangeAction>(action))) + "\t" +
                    std::to_string(counts_[action]) + "\t" + std::to_string(missing_[action]) +
                    "\n");
        all += counts_[action];
        missing += missing_[action];
    }
    file_.Write("all\t" + std::to_string(all) + "\t" + std::to_string(missing) + "\n");
    return all - missing;
}
