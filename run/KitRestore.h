#pragma once
#include <string>

#include "restore/SavedKit.h"
#include "run/RestoreReport.h"

// Brings back one checked kit of this machine, item by item as its manifest lists them, each as
// a change through the gate installed (the restore's report or its preview): first the run's
// own deletions taken off the restart list, so that a restore cut short leaves nothing of it to
// be deleted at the restart; then the folders, the files with their contents and attributes
// (never over a file that differs now), the keys the run made deleted, and the keys and values
// of restore.reg, a service's key without the mark that would delete it at the next start. What
// is already as saved is left as it is.
class KitRestore {
  public:
    KitRestore(const SavedKit& kit, RestoreReport& report);
    KitRestore(const KitRestore&) = delete;
    KitRestore& operator=(const KitRestore&) = delete;

    void Run();

  private:
    void TakeOff(const KitRecord& record);
    void Folder(const KitRecord& record);
    void File(const KitRecord& record);
    void MadeKey(const KitRecord& record);
    void Registry(std::size_t index);
    // Whether the key or value of the registry record, saved as section, is there now, and
    // whether it is as saved: its import would change nothing.
    bool Present(const KitRecord& record, const std::string& section, bool& asSaved) const;
    // Whether a key record of the kit restores key whole, it or a key above it, and that key
    // is as saved now.
    bool InsideKeyAsSaved(const std::string& key) const;
    // Takes the deletion mark off the service key at path (below HKEY_LOCAL_MACHINE, named key)
    // that carries it now or whose saved section gives it.
    void KeepService(const std::string& key, const std::string& path, const std::string& section);
    // Makes change through the gate with operation, which returns the platform's code; an
    // item already as saved is left.
    template <typename Operation>
    void Make(const Change& change, Operation operation);

    const SavedKit& kit_;
    RestoreReport& report_;
};
