#pragma once
#include <windows.h>

#include <string>

// Every change Oberin makes to the machine passes one gate before it is made. Without a gate
// installed every change is made and nothing is recorded; a run installs the gate that
// previews its changes, or saves what they replace and reports their outcome.

enum class ChangeAction {
    DeleteFile,
    // A file deletion as a preview shows it for a file in use now.
    DeleteAtRestart,
    RemoveFolder,
    DeleteShortcut,
    DeleteKey,
    DeleteValue,
    SetValue,
    RewriteBindingList,
    DeleteService,
    DeleteProgmanItem,
    DeleteProgmanGroup,
    RunUninstaller,
    NetworkSetup,
    // The restore's: what a restore kit saved put back.
    RestoreFolder,
    RestoreFile,
    DeleteMadeKey,
    RestoreKey,
    RestoreValue,
    TakeOffRestartList,
    // A service key written back, its deletion mark taken off.
    KeepService,
};
// The actions of a cleanup run, which come first, and all actions.
constexpr int kCleanupActionCount = static_cast<int>(ChangeAction::NetworkSetup) + 1;
constexpr int kChangeActionCount = static_cast<int>(ChangeAction::KeepService) + 1;
// The action as the reports write it: "delete file", "delete key and subkeys", ...
const char* ActionText(ChangeAction action);

enum class ChangeOutcome { Done, AtRestart, Absent, Failed };

// One change about to be made. Registry changes also name their key (and value); a service's
// key is the one below the Services key.
struct Change {
    Change(ChangeAction action, std::string target, bool present = true);

    ChangeAction action;
    std::string target;
    // False when the target is not there now.
    bool present;
    // A folder that holds something now: removing it now would fail.
    bool notEmpty = false;
    // A value that holds now what the change would set: setting it changes nothing.
    bool alreadySet = false;
    HKEY root = nullptr;
    std::string key;
    std::string value;
};

// What the gate decides before a change: make it, hold it back (the operation then reports
// success), or nothing left to make: the gate made it itself while saving what it replaces (a
// file deletion whose file the gate moved away into its keeping).
enum class Admission { Make, HoldBack, MadeByGate };

class ChangeGate {
  public:
    virtual Admission Admit(const Change& change) = 0;
    // After a change that was admitted. error is the platform's code of a failure, else 0.
    virtual void Report(const Change& change, ChangeOutcome outcome, DWORD error) = 0;

  protected:
    ~ChangeGate() = default;
};

// Installs gate as the gate of the process for the object's life, then puts back the gate it
// replaced (none at first).
class InstalledChangeGate {
  public:
    explicit InstalledChangeGate(ChangeGate& gate);
    ~InstalledChangeGate();
    InstalledChangeGate(const InstalledChangeGate&) = delete;
    InstalledChangeGate& operator=(const InstalledChangeGate&) = delete;

  private:
    ChangeGate* replaced_;
};

// One change on its way through the gate: asked on construction, reported by one of the
// outcome calls, which return what the operation returns.
class GatedChange {
  public:
    explicit GatedChange(Change change);
    GatedChange(const GatedChange&) = delete;
    GatedChange& operator=(const GatedChange&) = delete;

    // False when the change is not to be made.
    bool Admitted() const { return admission_ != Admission::HoldBack; }
    // True when the gate made the change itself: only its outcome is left to report.
    bool MadeByGate() const { return admission_ == Admission::MadeByGate; }
    bool Done();
    bool AtRestart();
    bool Absent();
    // Always false.
    bool Failed(DWORD error);

  private:
    bool Tell(ChangeOutcome outcome, DWORD error);

    Change change_;
    ChangeGate* gate_;
    Admission admission_;
};

// A registry change of root\key, shown as "HKEY_LOCAL_MACHINE\key", and "\value" after it for
// a change of a value.
Change RegistryChange(ChangeAction action, HKEY root, const std::string& key,
                      const std::string& value, bool present);
