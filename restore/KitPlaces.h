#pragma once
#include <string>
#include <vector>

// Where restore kits lie: the oberin-restore folders a run makes its kits in and a restore
// looks in, and what such a folder holds.

// Where a cleanup run whose log is at logPath makes its kit: beside the log when the log's folder
// lies on a local fixed drive, else in the system directory.
std::string KitsFolderFor(const std::string& logPath);
// The folders a restore without a named kit looks in, each once: beside the log the current
// directory would take, and in the system directory.
std::vector<std::string> KitsFolders();

// One thing in a kits folder.
struct KitsEntry {
    std::string path;
    std::string name;
    bool folder;
};
// What folder holds, newest kit name first (kit names sort in time order); empty when it
// cannot be read or is not there.
std::vector<KitsEntry> KitsEntries(const std::string& folder);
// Whether the stamp of the kit name lies more than a day after now (a day's grace for a clock
// set back since the kit was made).
bool StampInFuture(const std::string& name);
// The full form of a path as typed: relative to the current directory, "/" read as "\".
std::string FullPath(const std::string& path);
