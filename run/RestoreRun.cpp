#include "run/RestoreRun.h"

#include <windows.h>

#include <algorithm>

#include "base/SystemQueries.h"
#include "core/RunFiles.h"
#include "restore/KitPlaces.h"
#include "restore/RestoredMark.h"
#include "run/KitRestore.h"
#include "run/RestoreReport.h"

namespace {
const char kRefused[] = "the kit was refused";

std::string Refusal(const std::string& what, const std::string& why) {
    return "Oberin restore: " + what + " is refused: " + why + ". Nothing has been changed.";
}
}  // namespace

int RestoreRun::Stop(const std::string& why, const std::string& line) {
    tally_.stopped = why;
    report_.Write(line + "\n");
    report_.Close();
    return 2;
}

int RestoreRun::Run(const std::string& named, bool preview) {
    const char* name = preview ? "oberin-restore-preview.txt" : "oberin-restore.txt";
    if (!OpenRunFile(report_, name)) {
        tally_.stopped = std::string(name) + " cannot be written";
        return 2;
    }
    if (!IsSupportedVersion())
        return Stop("not supported on this version of Windows", kNotSupportedText);
    here_ = MachineIdentity::Current();
    const std::string stop = named.empty() ? ChooseEvery() : ChooseNamed(named);
    if (!stop.empty()) return Stop(kRefused, stop);
    if (kits_.empty() && !foundHere_)
        return Stop("no restore kit of this machine found",
                    "Oberin restore: no restore kit of this machine found" +
                        (passedOver_ ? "; " + std::to_string(passedOver_) +
                                           " of another machine passed over."
                                     : std::string(".")));
    if (kits_.empty()) {
        report_.Write(
            "Oberin restore: nothing left to restore; every kit of this machine has "
            "been restored.\n");
        return report_.Close() ? 0 : 1;
    }
    const unsigned wouldChange = RestoreKits(preview);
    const bool written = report_.Close();
    if (preview) return wouldChange ? 1 : 0;
    return written && tally_.restored == tally_.items ? 0 : 1;
}

std::string RestoreRun::ChooseEvery() {
    for (const std::string& folder : KitsFolders()) {
        for (const KitsEntry& entry : KitsEntries(folder)) {
            SavedKit kit(entry.path);
            std::string why = kit.Problem(false);
            if (!why.empty()) return Refusal(entry.path, why);
            if (!kit.Machine().SameMachine(here_)) {
                passed_ +=
                    "Passed over: " + entry.path + ", made on " + kit.Machine().Shown() + ".\n";
                ++passedOver_;
                continue;
            }
            foundHere_ = true;
            if (RestoredWhole(entry.path)) continue;
            why = kit.Damage();
            if (!why.empty()) return Refusal(entry.path, why);
            kits_.push_back(std::move(kit));
        }
    }
    // Newest first, whichever folder holds them.
    std::stable_sort(kits_.begin(), kits_.end(), [](const SavedKit& one, const SavedKit& other) {
        return one.Name() > other.Name();
    });
    return std::string();
}

std::string RestoreRun::ChooseNamed(const std::string& named) {
    SavedKit kit(FullPath(named));
    std::string why = kit.Problem(true);
    if (why.empty() && !kit.Machine().SameMachine(here_))
        why = "it was made on " + kit.Machine().Shown();
    if (why.empty()) why = kit.Damage();
    if (!why.empty()) return Refusal("the kit " + kit.Folder(), why);
    foundHere_ = true;
    kits_.push_back(std::move(kit));
    return std::string();
}

unsigned RestoreRun::RestoreKits(bool preview) {
    report_.Write(preview ? "Oberin restore preview: what a restore would do. Nothing has been "
                            "changed.\nA line an item: action, target, what stands there now "
                            "against the kit.\n\n"
                          : "Oberin restore.\nA line an item: action, target, what stood there "
                            "before against the kit, outcome.\n\n");
    if (!passed_.empty()) report_.Write(passed_ + "\n");
    RestoreReport gate(report_, preview);
    InstalledChangeGate installed(gate);
    for (const SavedKit& kit : kits_) {
        gate.BeginKit((preview ? "Kit to restore: " : "Kit: ") + kit.Folder());
        KitRestore(kit, gate).Run();
        gate.EndKit();
        tally_.items += gate.Items();
        tally_.restored += gate.Restored();
        if (!preview) WriteRestoredMark(kit.Folder(), gate.Restored(), gate.Items());
    }
    report_.Write(std::to_string(tally_.restored) + " of " + std::to_string(tally_.items) +
                  (preview ? " items as saved or to be restored.\n" : " items restored.\n"));
    return gate.WouldChange();
}
