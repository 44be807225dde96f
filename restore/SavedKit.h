#pragma once
#include <string>
#include <vector>

#include "restore/KitLayout.h"
#include "restore/MachineIdentity.h"

// A restore kit as a restore finds it: its name, its security and that of the folder holding it,
// its manifest and its parts, checked before anything is taken from it.
class SavedKit {
  public:
    // folder: the kit's full path.
    explicit SavedKit(std::string folder);

    // Why the kit may not be taken, a phrase for the report; empty when it may: a name that is
    // no time stamp or one in the future, a file, others than Administrators, SYSTEM and the user
    // able to change it, a part of it or the folder holding it (on a volume without security:
    // unless named), no manifest, one that cannot be read or names no machine (an earlier
    // build). Reads the manifest.
    std::string Problem(bool named);
    // After Problem: why a part differs from the manifest (a file's copy, restore.reg up to its
    // last listed section), a phrase; empty when none does. Reads restore.reg.
    std::string Damage();

    const std::string& Folder() const { return folder_; }
    // The folder's own name, the kit's time stamp.
    std::string Name() const;
    const MachineIdentity& Machine() const { return machine_; }
    const std::vector<KitRecord>& Records() const { return records_; }
    // Whether restore.reg opens with the REGEDIT4 header.
    bool RegistryHeader() const;
    // The section of restore.reg that the key or value record at index holds, without the
    // header.
    std::string Section(std::size_t index) const;

  private:
    std::string folder_;
    MachineIdentity machine_;
    std::vector<KitRecord> records_;
    std::string registry_;
};
