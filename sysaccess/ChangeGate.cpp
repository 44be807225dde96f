#include "sysaccess/ChangeGate.h"

#include <utility>

#include "base/RegText.h"

namespace {
ChangeGate* installed = nullptr;

const char* const kActionTexts[kChangeActionCount] = {
    "delete file",
    "delete at restart",
    "remove folder",
    "delete shortcut",
    "delete key and subkeys",
    "delete value",
    "set value",
    "rewrite binding list",
    "delete service",
    "delete Program Manager item",
    "delete Program Manager group",
    "run uninstaller",
    "network setup",
    "restore folder",
    "restore file",
    "delete key the run made",
    "restore key",
    "restore value",
    "take off restart list",
    "take off deletion mark: the service comes back at the next restart",
};
}  // namespace

const char* ActionText(ChangeAction action) {
    return kActionTexts[static_cast<int>(action)];
}

InstalledChangeGate::InstalledChangeGate(ChangeGate& gate)
    : replaced_(std::exchange(installed, &gate)) {}

InstalledChangeGate::~InstalledChangeGate() {
    installed = replaced_;
}

GatedChange::GatedChange(Change change)
    : change_(std::move(change)),
      gate_(installed),
      admission_(gate_ ? gate_->Admit(change_) : Admission::Make) {}

bool GatedChange::Tell(ChangeOutcome outcome, DWORD error) {
    if (gate_) gate_->Report(change_, outcome, error);
    return outcome != ChangeOutcome::Failed;
}

bool GatedChange::Done() {
    return Tell(ChangeOutcome::Done, 0);
}

bool GatedChange::AtRestart() {
    return Tell(ChangeOutcome::AtRestart, 0);
}

bool GatedChange::Absent() {
    return Tell(ChangeOutcome::Absent, 0);
}

bool GatedChange::Failed(DWORD error) {
    return Tell(ChangeOutcome::Failed, error);
}

Change::Change(ChangeAction action, std::string target, bool present)
    : action(action), target(std::move(target)), present(present) {}

Change RegistryChange(ChangeAction action, HKEY root, const std::string& key,
                      const std::string& value, bool present) {
    Change change(action, SectionName(root, key), present);
    if (action == ChangeAction::DeleteValue || action == ChangeAction::SetValue ||
        action == ChangeAction::RewriteBindingList)
        change.target += "\\" + value;
    change.root = root;
    change.key = key;
    change.value = value;
    return change;
}
