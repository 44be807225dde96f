#pragma once
#include <string>
#include <vector>

#include "core/LogFile.h"
#include "restore/MachineIdentity.h"
#include "restore/SavedKit.h"
#include "run/RunStatus.h"

// Brings back what cleanup runs saved in restore kits (see KitRestore), every kit through the
// change gate, and writes oberin-restore.txt where the log would go: for each kit its folder and
// a line an item (action, target, what stood there before, outcome), then how many came back.
// Without a kit named it restores every kit of this machine in the oberin-restore folders a run
// makes them in that has not come back whole yet, newest first, marking each (restored.txt);
// kits of other machines are passed over with a line naming their machine. Before any change,
// every kit it looks at is checked (SavedKit); anything it may not take stops it.
class RestoreRun {
  public:
    RestoreRun() = default;
    RestoreRun(const RestoreRun&) = delete;
    RestoreRun& operator=(const RestoreRun&) = delete;

    // named: one kit's folder as typed (made a full path); empty: every kit not restored yet.
    // preview: nothing is changed and oberin-restore-preview.txt says, item by item, what stands
    // there now and what a restore would do. A restore gives 0 when every item came back or
    // already was as saved, or nothing was left to restore, 1 when some did not; a preview 0
    // when a restore would change nothing, 1 when it would; both 2 when they could not start:
    // no report could be written, no kit of this machine, a kit refused, something in
    // oberin-restore that is no kit it may take, or a version of Windows the cleanup does not
    // support.
    int Run(const std::string& named, bool preview = false);
    // After Run: why it could not start (empty when it did), its items and how many came back.
    const RestoreTally& Tally() const { return tally_; }

  private:
    // Ends a restore that cannot start, for the reason why, with line as the last of the report.
    int Stop(const std::string& why, const std::string& line);
    // The kits to restore, newest first, into kits_; the line that stops the restore when one
    // may not be taken, else empty.
    std::string ChooseEvery();
    std::string ChooseNamed(const std::string& named);
    // Restores (or previews) kits_ into the report; how many changes a restore would make.
    unsigned RestoreKits(bool preview);

    LogFile report_;
    MachineIdentity here_;
    std::vector<SavedKit> kits_;
    bool foundHere_ = false;
    // The lines of the kits of other machines passed over, and how many.
    std::string passed_;
    unsigned passedOver_ = 0;
    RestoreTally tally_;
};
