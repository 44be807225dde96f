#pragma once
#include <string>

// How the machine case runner compares what a run did with what its case expects.

// Compares one result with its expected file folder\name (absent: expected absent too); true
// when equal, and always under OBERIN_BLESS, which writes the result as the expected file.
bool Check(const std::string& folder, const std::string& name, const std::string& actual,
           bool present);
// Whether a run left the log and, its restore kit, reports and status MIFs aside, the change
// list that the same run of the case other is expected to leave (suffix: "" for the first run,
// "-k" for run k); prints what differs.
bool SameAs(const std::string& other, const std::string& suffix, const std::string& log,
            const std::string& changes);
