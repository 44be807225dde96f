#include "run/RunStatus.h"

namespace {
// "1 product", "2 products".
std::string Count(unsigned number, const char* thing) {
    return std::to_string(number) + " " + thing + (number == 1 ? "" : "s");
}
}  // namespace

RunStatus CleanupStatus(const CleanupTally& tally) {
    if (!tally.logOpened) return {false, "Cleanup: no log could be written; nothing was changed."};
    if (!tally.supported)
        return {false, "Cleanup: not supported on this version of Windows; nothing was changed."};
    std::string text = "Cleanup: " + Count(tally.removed, "product") + " removed, " +
                       std::to_string(tally.notRemoved) + " not completely removed";
    if (tally.errors > 0) text += ", " + Count(tally.errors, "error") + " in the log";
    if (!tally.logComplete) text += ", the log incomplete";
    // The engine shows 128 characters: where the long form would pass them, the short one.
    const std::string restart = tally.changed ? "; restart needed." : "; no restart needed.";
    if (tally.notSaved > 0) {
        const std::string full =
            ", " + Count(tally.notSaved, "change") + " not saved for a restore";
        text += text.size() + full.size() + restart.size() <= kDescriptionLength
                    ? full
                    : ", " + std::to_string(tally.notSaved) + " unsaved";
    }
    text += restart;
    return {tally.result && tally.errors == 0, text};
}

RunStatus PreviewStatus(const CleanupTally& tally) {
    if (!tally.supported) return {false, "Preview: not supported on this version of Windows."};
    const std::string text =
        "Preview: a cleanup would make " + Count(tally.wouldChange, "change") + ".";
    if (!tally.logOpened || !tally.logComplete)
        return {false, text + " oberin-preview.txt could not be written completely."};
    return {true, text};
}

RunStatus RestoreStatus(const RestoreTally& tally, int exitCode) {
    if (!tally.stopped.empty()) return {false, "Restore: " + tally.stopped + "."};
    if (tally.items == 0 && exitCode == 0) return {true, "Restore: nothing left to restore."};
    std::string text = "Restore: " + std::to_string(tally.restored) + " of " +
                       Count(tally.items, "item") + " restored.";
    if (exitCode != 0 && tally.restored == tally.items)
        text += " oberin-restore.txt could not be written completely.";
    return {exitCode == 0, text};
}
