#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sysaccess/ChangeGate.h"

// What a run replaces, saved before each change into <folder>\<yyyymmdd-hhmmss>, made on the
// first save: restore.reg (the keys and values as they were), files\<drive>\<path> (the files,
// moved there or, when they cannot be moved, copied), kit.txt (a kind and a path a line: the
// folders removed, the keys made to set a value in and the deletions added to the restart list) and
// README.txt. Each target is saved once, as it was before its first change.
class RestoreKit {
  public:
    explicit RestoreKit(std::string folder);
    ~RestoreKit();
    RestoreKit(const RestoreKit&) = delete;
    RestoreKit& operator=(const RestoreKit&) = delete;

    // Saves what change is about to replace; true when it was saved or nothing needs saving.
    // A file to be deleted is moved into the kit when it can be, which deletes it: taken.
    bool Save(const Change& change, bool& taken);
    // Records a deletion the run added to the restart list.
    bool AddRestartEntry(const std::string& path);

    // The place of a copy from its path below a kit's files folder (C\x: C:\x); CopyOf's inverse.
    static std::string PlaceOfCopy(const std::string& copy);

  private:
    // Makes the kit's folder and README.txt on first use; false when they cannot be made.
    bool Ready();
    bool Note(const char* kind, const std::string& path);
    // Where the kit keeps the file at path: files\C\x for C:\x, files\UNC\s\x for \\s\x.
    std::string CopyOf(const std::string& path) const;
    bool SaveFile(const std::string& path, bool& taken);
    // Saves the key with everything below it (tree), else the value.
    bool SaveRegistry(const Change& change, bool tree);

    std::string parent_;
    std::string folder_;
    bool tried_ = false;
    std::set<std::string> saved_;
    // The sections of restore.reg that hold one value, by their key's full name in upper case.
    std::vector<std::pair<std::string, std::string>> values_;
    // restore.reg, open from the first registry save to the kit's end.
    HANDLE registry_ = INVALID_HANDLE_VALUE;
    std::string lastFolder_;
};
