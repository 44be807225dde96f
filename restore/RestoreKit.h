#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/ScopedHandle.h"
#include "restore/KitLayout.h"
#include "restore/KitSecurity.h"
#include "sysaccess/ChangeGate.h"

// What a run replaces, saved before each change into a kit of the folder given (see
// KitLayout.h), made on the first save with the security of KitSecurity, as is the folder given
// when it is made. Each target is saved once, as it was before its first change, and counts as
// saved only when its save succeeded; the manifest names the machine and lists every saved item
// as it is saved. A run that saves nothing leaves no kit.
class RestoreKit {
  public:
    explicit RestoreKit(std::string folder);
    RestoreKit(const RestoreKit&) = delete;
    RestoreKit& operator=(const RestoreKit&) = delete;

    // Saves what change is about to replace: ERROR_SUCCESS when it was saved or nothing needs
    // saving, else why it could not be (the change is then listed in the README as not saved).
    // A file nothing else holds is moved into the kit, which deletes it: taken.
    DWORD Save(const Change& change, bool& taken);
    // After a change: records what its outcome leaves to restore, a folder the run removed or a
    // deletion it added to the restart list; false when the kit could not record it.
    bool Record(const Change& change, ChangeOutcome outcome);
    // Removes the kit when nothing was saved into it (its first save failed): there is then
    // none.
    void DropIfEmpty();
    // Ends the kit, if there is one: DropIfEmpty, else keeps a copy of the change report at
    // changeReport and adds the changes that could not be saved to the README; false when
    // either failed.
    bool Finish(const std::string& changeReport);
    // The kit's folder; empty while there is none.
    const std::string& Folder() const { return folder_; }
    // Whether the kit's volume keeps security (NTFS does, FAT does not); true while there is none.
    bool OnVolumeWithSecurity() const { return securedVolume_; }

  private:
    // Makes the kit's folder and README.txt on first use; false when they cannot be made.
    bool Ready();
    bool Note(KitRecordKind kind, const std::string& target, DWORD size = 0, DWORD checksum = 0);
    DWORD SaveFile(const std::string& path, bool& taken);
    // Saves the key with everything below it (tree), else the value.
    DWORD SaveRegistry(const Change& change, bool tree);
    // Appends text to the kit's part name, kept open in file from its first write to the end.
    bool Append(FileHandle& file, const char* name, const std::string& text);

    std::string parent_;
    std::string folder_;
    bool tried_ = false;
    bool noted_ = false;
    bool securedVolume_ = true;
    KitSecurity security_;
    std::set<std::string> saved_;
    // The sections of restore.reg that hold one value, by their key's full name in upper case.
    std::vector<std::pair<std::string, std::string>> values_;
    // The changes that could not be saved, a line each with the reason.
    std::string notSaved_;
    FileHandle manifest_;
    FileHandle registry_;
    DWORD registrySize_ = 0;
    DWORD registryChecksum_ = 0;
    std::string lastFolder_;
};
