#include "run/KitRestore.h"

#include <windows.h>

#include "base/ImportedState.h"
#include "base/PathText.h"
#include "base/ScopedHandle.h"
#include "restore/ServiceMark.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegFileText.h"
#include "sysaccess/RegistryKey.h"
#include "sysaccess/RestartList.h"

namespace {
const char kMissing[] = "missing from the kit";

// A change of the restore: state as RestoreReport reads it.
Change Item(ChangeAction action, const std::string& target, bool present, bool asSaved) {
    Change change(action, target, present);
    change.alreadySet = asSaved;
    return change;
}

// Copies the file open at copy to path, made anew, with the copy's attributes; the copy is
// read through the same handle as its digest was checked with.
DWORD WriteCopy(HANDLE copy, const std::string& path, DWORD attributes) {
    CreateFolderPath(path.substr(0, LastBackslash(path)));
    bool written = false;
    {
        FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) return GetLastError();
        SetFilePointer(copy, 0, nullptr, FILE_BEGIN);
        written = CopyContents(copy, file.Get()) && file.Close();
    }
    if (written && SetFileAttributesA(path.c_str(), attributes)) return ERROR_SUCCESS;
    const DWORD error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    DiscardFile(path);
    return error;
}

// The key a section opens with ("ROOT\path"), which a value's target continues with its name;
// empty when it opens with none.
std::string SectionKey(const std::string& section) {
    const std::size_t close = section.find("]\r\n");
    return section.size() > 1 && section[0] == '[' && close != std::string::npos
               ? section.substr(1, close - 1)
               : std::string();
}

bool SameDigest(HANDLE file, const KitRecord& record) {
    DWORD size = 0, checksum = 0;
    return FileDigest(file, size, checksum) && size == record.size && checksum == record.checksum;
}
}  // namespace

KitRestore::KitRestore(const SavedKit& kit, RestoreReport& report) : kit_(kit), report_(report) {}

template <typename Operation>
void KitRestore::Make(const Change& change, Operation operation) {
    if (change.present && change.alreadySet) return report_.Left(change);
    GatedChange gated(change);
    if (!gated.Admitted()) return;
    const DWORD error = operation();
    if (error)
        gated.Failed(error);
    else
        gated.Done();
}

void KitRestore::Run() {
    const auto& records = kit_.Records();
    for (const KitRecordKind kind : {KitRecordKind::Restart, KitRecordKind::Folder,
                                     KitRecordKind::File, KitRecordKind::NewKey}) {
        for (const KitRecord& record : records) {
            if (record.kind != kind) continue;
            if (kind == KitRecordKind::Restart) TakeOff(record);
            if (kind == KitRecordKind::Folder) Folder(record);
            if (kind == KitRecordKind::File) File(record);
            if (kind == KitRecordKind::NewKey) MadeKey(record);
        }
    }
    for (std::size_t index = 0; index < records.size(); ++index)
        if (records[index].kind == KitRecordKind::Key ||
            records[index].kind == KitRecordKind::Value)
            Registry(index);
}

void KitRestore::TakeOff(const KitRecord& record) {
    // The entry as the system registered it; the kit saved it not on the list.
    const bool onList = !RegisteredDeletion(ShownEntry(record.target)).empty();
    Make(Item(ChangeAction::TakeOffRestartList, ShownEntry(record.target), true, !onList),
         [&record]() -> DWORD {
             bool found = false;
             return DWORD(TakeOffRestartList(record.target, found));
         });
}

void KitRestore::Folder(const KitRecord& record) {
    const bool present = FileExists(record.target);
    Make(Item(ChangeAction::RestoreFolder, record.target, present, present), [&record]() -> DWORD {
        return CreateFolderPath(record.target) ? ERROR_SUCCESS : ERROR_CANNOT_MAKE;
    });
}

void KitRestore::File(const KitRecord& record) {
    const std::string copy = kit_.Folder() + "\\" + CopyOf(record.target);
    DWORD size = 0, checksum = 0;
    const bool present = FileExists(record.target);
    const bool asSaved = present && FileDigest(record.target, size, checksum) &&
                         size == record.size && checksum == record.checksum;
    const Change change = Item(ChangeAction::RestoreFile, record.target, present, asSaved);
    if (present && !asSaved) return report_.NotRestored(change, ERROR_FILE_EXISTS);
    // Opened once, without letting others write: what is checked is what is written.
    const FileHandle file(asSaved
                              ? INVALID_HANDLE_VALUE
                              : CreateFileA(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!asSaved && !file.IsValid()) return report_.NotRestored(change, kMissing);
    Make(change, [&]() -> DWORD {
        if (!SameDigest(file.Get(), record)) return ERROR_INVALID_DATA;
        return WriteCopy(file.Get(), record.target, GetFileAttributesA(copy.c_str()));
    });
}

void KitRestore::MadeKey(const KitRecord& record) {
    std::string path;
    const HKEY root = RootOf(record.target, path);
    const bool present = root && RegistryKey(root, path).Present();
    // The kit saved the key as not there: a key there now differs, unless the kit also brings
    // back a key holding it whole, as it stands now.
    Make(Item(ChangeAction::DeleteMadeKey, record.target, true,
              !present || InsideKeyAsSaved(record.target)),
         [&]() -> DWORD {
             const LONG result = WritableKey::DeleteKey(root, path);
             return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : DWORD(result);
         });
}

bool KitRestore::Present(const KitRecord& record, const std::string& section, bool& asSaved) const {
    const std::string keyName = SectionKey(section);
    std::string path, now;
    const HKEY root = RootOf(keyName, path);
    const bool present =
        root && (record.kind == KitRecordKind::Key
                     ? ExportKeyTree(root, path, now)
                     : ExportValue(root, path, record.target.substr(keyName.size() + 1), now) &&
                           now.find("=-\r\n") == std::string::npos);
    // A key's section may end with values saved before it, which its import then leaves.
    asSaved = present && ImportedState(now) == ImportedState(section);
    return present;
}

bool KitRestore::InsideKeyAsSaved(const std::string& key) const {
    const auto& records = kit_.Records();
    for (std::size_t index = 0; index < records.size(); ++index) {
        if (records[index].kind != KitRecordKind::Key) continue;
        const std::string section = kit_.Section(index);
        bool asSaved = false;
        if (AtOrBelow(key, SectionKey(section)))
            return Present(records[index], section, asSaved) && asSaved;
    }
    return false;
}

void KitRestore::Registry(std::size_t index) {
    const KitRecord& record = kit_.Records()[index];
    const bool key = record.kind == KitRecordKind::Key;
    const std::string section = kit_.Section(index);
    bool asSaved = false;
    const bool present = Present(record, section, asSaved);
    const Change change = Item(key ? ChangeAction::RestoreKey : ChangeAction::RestoreValue,
                               record.target, present, asSaved);
    if (section.empty()) return report_.NotRestored(change, kMissing);
    // Without its header restore.reg is no REGEDIT4 text: the import would report nothing.
    if (!kit_.RegistryHeader()) return report_.NotRestored(change, ERROR_INVALID_DATA);
    Make(change, [&section]() -> DWORD {
        // A section the import does not report is not restored.
        DWORD error = ERROR_INVALID_DATA;
        bool reported = false;
        ImportRegText(kRegedit4Header + section, [&](const char*, const std::string&, LONG result) {
            if (!reported || !error) error = DWORD(result);
            reported = true;
        });
        return error;
    });
    const std::string keyName = SectionKey(section);
    std::string path;
    if (key && RootOf(keyName, path) == HKEY_LOCAL_MACHINE && IsServiceKey(path))
        KeepService(keyName, path, section);
}

void KitRestore::KeepService(const std::string& key, const std::string& path,
                             const std::string& section) {
    const std::string saved = std::string("\r\n\"") + kDeleteMark + "\"=";
    if (!CarriesDeleteMark(path) && section.find(saved) == std::string::npos) return;
    Make(Item(ChangeAction::KeepService, key, true, false),
         [&path]() -> DWORD { return DWORD(TakeOffDeleteMark(path)); });
}
