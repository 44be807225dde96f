#pragma once
#include <cstddef>
#include <string>

// The longest description a status MIF may carry.
constexpr std::size_t kDescriptionLength = 128;

// What the distribution engine's console shows of one unattended run: Success or Failed and one
// line of at most kDescriptionLength characters.
struct RunStatus {
    bool success;
    std::string description;
};

// What a cleanup run or a preview met and did, as far as its status tells it.
struct CleanupTally {
    // Run's result: every product found removed completely and the log written completely.
    bool result = false;
    bool logOpened = false;
    bool supported = false;
    bool logComplete = false;
    // Products detected and removed, and detected and not completely removed.
    unsigned removed = 0;
    unsigned notRemoved = 0;
    // The log's error lines.
    unsigned errors = 0;
    // The run changed the machine, now or at the restart: the server needs a restart.
    bool changed = false;
    // Changes made that the restore kit could not keep.
    unsigned notSaved = 0;
    // A preview's count of the changes a cleanup would make.
    unsigned wouldChange = 0;
};

// What a restore met and did, as far as its status tells it: why it could not start (empty when
// it did), its items and how many came back.
struct RestoreTally {
    std::string stopped;
    unsigned items = 0;
    unsigned restored = 0;
};

// Failed when the run was not whole or an error line was written.
RunStatus CleanupStatus(const CleanupTally& tally);
// Failed when the version is not supported or the preview could not be written completely.
RunStatus PreviewStatus(const CleanupTally& tally);
// exitCode: what the restore's Run returned, 0 when everything came back.
RunStatus RestoreStatus(const RestoreTally& tally, int exitCode);
