#include "restore/RestoreKit.h"

#include <windows.h>

#include <utility>

#include "base/PathText.h"
#include "restore/KitPlaces.h"
#include "restore/KitReadme.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegFileText.h"
#include "sysaccess/RegistryKey.h"
#include "sysaccess/RestartList.h"

namespace {
bool IsFileAction(ChangeAction action) {
    return action == ChangeAction::DeleteFile || action == ChangeAction::DeleteShortcut;
}

// Why a change could not be saved, as the README says it.
std::string Reason(DWORD error) {
    return error == kNameWithLineBreak ? "a name holds a line break, which restore.reg cannot carry"
                                       : "error " + std::to_string(error);
}

// Deletes the folder at path with everything in it, as far as it can.
void RemoveKitTree(const std::string& path) {
    for (const KitsEntry& entry : KitsEntries(path)) {
        if (entry.folder)
            RemoveKitTree(entry.path);
        else
            DiscardFile(entry.path);
    }
    RemoveDirectoryA(path.c_str());
}

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}
}  // namespace

RestoreKit::RestoreKit(std::string folder) : parent_(std::move(folder)) {}

bool RestoreKit::Ready() {
    if (tried_) return !folder_.empty();
    tried_ = true;
    CreateDirectoryA(parent_.c_str(), security_.Attributes());
    std::string folder = parent_ + "\\" + KitName();
    for (int number = 2; !CreateDirectoryA(folder.c_str(), security_.Attributes()); ++number) {
        if (GetLastError() != ERROR_ALREADY_EXISTS || number > 99) return false;
        folder = parent_ + "\\" + KitName(number);
    }
    folder_ = folder;
    securedVolume_ = VolumeKeepsSecurity(folder_);
    FileHandle readme;
    return Append(readme, kit::kReadme, KitReadme(securedVolume_)) &&
           Append(manifest_, kit::kManifest,
                  kManifestHeader + MachineIdentity::Current().ManifestLine());
}

bool RestoreKit::Append(FileHandle& file, const char* name, const std::string& text) {
    if (!file.IsValid())
        file.Reset(CreateFileA((folder_ + "\\" + name).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.IsValid() &&
           WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool RestoreKit::Note(KitRecordKind kind, const std::string& target, DWORD size, DWORD checksum) {
    const bool noted =
        Append(manifest_, kit::kManifest, ManifestLine({kind, target, size, checksum}));
    noted_ = noted_ || noted;
    return noted;
}

DWORD RestoreKit::Save(const Change& change, bool& taken) {
    const bool file = IsFileAction(change.action);
    const bool tree =
        change.action == ChangeAction::DeleteKey || change.action == ChangeAction::DeleteService;
    if (!change.present && change.action != ChangeAction::SetValue) return ERROR_SUCCESS;
    // Folders are recorded once removed; changes of other kinds replace nothing to keep.
    if (!file && !change.root) return ERROR_SUCCESS;
    // A value set where there was none is saved as missing, so that restoring deletes it; a
    // key made for it is recorded, so that restoring deletes the key.
    const bool newKey =
        change.action == ChangeAction::SetValue && !RegistryKey(change.root, change.key).Present();
    // Each target is saved once, under its kind: F file, K key, V value, N new key.
    const std::string key = change.root ? SectionName(change.root, change.key) : "";
    const std::string place = file     ? "F" + UpperCase(change.target)
                              : tree   ? "K" + UpperCase(key)
                              : newKey ? "N" + UpperCase(key)
                                       : "V" + UpperCase(change.target);
    if (saved_.count(place)) return ERROR_SUCCESS;
    DWORD error = Ready() ? ERROR_SUCCESS : LastErrorOr(ERROR_CANNOT_MAKE);
    if (!error) {
        error = file     ? SaveFile(change.target, taken)
                : newKey ? (Note(KitRecordKind::NewKey, key) ? ERROR_SUCCESS
                                                             : LastErrorOr(ERROR_WRITE_FAULT))
                         : SaveRegistry(change, tree);
    }
    if (!error)
        saved_.insert(place);
    else
        notSaved_ += std::string(ActionText(change.action)) + "\t" + change.target +
                     "\tnot saved: " + Reason(error) + "\r\n";
    return error;
}

DWORD RestoreKit::SaveFile(const std::string& path, bool& taken) {
    // The copy takes the file's own name, whatever the case of the name it is deleted by; the
    // file is read by its own name too, which the system finds without a search.
    WIN32_FIND_DATAA found;
    if (!FindHandle(FindFirstFileA(path.c_str(), &found)).IsValid())
        return LastErrorOr(ERROR_FILE_NOT_FOUND);
    const std::string source = path.substr(0, LastBackslash(path) + 1) + found.cFileName;
    const std::string copy = folder_ + "\\" + CopyOf(source);
    // Files come mostly folder by folder: a folder made for the last copy is there.
    const std::string folder = copy.substr(0, LastBackslash(copy));
    if (folder != lastFolder_ && !CreateFolderPath(folder)) return LastErrorOr(ERROR_CANNOT_MAKE);
    lastFolder_ = folder;
    // A file nothing else holds is moved, which deletes it at once, as its deletion would; one
    // that lets others write gets the kit's security. Any other file (held, mapped, running, on
    // another volume) is copied, under a passing name until whole, and left to its deletion,
    // which then goes as it would without a kit.
    DWORD error = ERROR_SUCCESS;
    const bool file = !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                      path.find_first_of("*?") == std::string::npos;
    taken = file && HeldByNobody(source) && MoveFileA(source.c_str(), copy.c_str());
    if (taken && !OnlyTrustedWriters(copy, error) && !security_.Apply(copy)) {
        // A kit this program makes is one it restores: a file that cannot have the kit's
        // security goes back and is copied instead; where it cannot, its deletion stands, unsaved.
        taken = !MoveFileA(copy.c_str(), source.c_str());
        if (taken) {
            DiscardFile(copy);
            return ERROR_ACCESS_DENIED;
        }
    }
    if (!taken) {
        const std::string part = copy + ".part";
        if (!CopyFileAs(source, part, found.dwFileAttributes) ||
            !MoveFileA(part.c_str(), copy.c_str())) {
            error = LastErrorOr(ERROR_WRITE_FAULT);
            DiscardFile(part);
            return error;
        }
    }
    // The digest is the kit's copy's, as the restore will find it.
    DWORD size = 0, checksum = 0;
    if (FileDigest(copy, size, checksum) && Note(KitRecordKind::File, source, size, checksum))
        return ERROR_SUCCESS;
    error = LastErrorOr(ERROR_WRITE_FAULT);
    // Not listed, a moved file goes back to its deletion as without a kit.
    if (taken) taken = !MoveFileA(copy.c_str(), source.c_str());
    return error;
}

DWORD RestoreKit::SaveRegistry(const Change& change, bool tree) {
    const std::string key = UpperCase(SectionName(change.root, change.key));
    // A key saved whole holds its values as they were before any change of the run, and a key
    // the run made had none: a value below either is not saved again.
    for (std::size_t end = key.size(); !tree && end != std::string::npos;
         end = LastBackslash(key.substr(0, end)))
        if (saved_.count("K" + key.substr(0, end)) || saved_.count("N" + key.substr(0, end)))
            return ERROR_SUCCESS;
    std::string section;
    const bool exported = tree ? ExportKeyTree(change.root, change.key, section)
                               : ExportValue(change.root, change.key, change.value, section);
    if (!exported) return LastErrorOr(ERROR_ACCESS_DENIED);
    if (tree) {
        // The values saved before in this key come again after it, so that what was saved
        // first is what an import leaves.
        for (const auto& [place, text] : values_)
            if (AtOrBelow(place, key)) section += text;
    } else {
        values_.emplace_back(key, section);
    }
    if (!registry_.IsValid()) section = kRegedit4Header + section;
    if (!Append(registry_, kit::kRegistry, section)) return LastErrorOr(ERROR_WRITE_FAULT);
    registrySize_ += static_cast<DWORD>(section.size());
    registryChecksum_ = Crc32(section.data(), section.size(), registryChecksum_);
    return Note(tree ? KitRecordKind::Key : KitRecordKind::Value, change.target, registrySize_,
                registryChecksum_)
               ? ERROR_SUCCESS
               : LastErrorOr(ERROR_WRITE_FAULT);
}

bool RestoreKit::Record(const Change& change, ChangeOutcome outcome) {
    if (outcome == ChangeOutcome::Done && change.action == ChangeAction::RemoveFolder)
        return Ready() && Note(KitRecordKind::Folder, change.target);
    if (outcome == ChangeOutcome::AtRestart)
        return Ready() && Note(KitRecordKind::Restart, RegisteredDeletionText(change.target));
    return true;
}

void RestoreKit::DropIfEmpty() {
    if (folder_.empty() || noted_) return;
    manifest_ = FileHandle();
    registry_ = FileHandle();
    RemoveKitTree(folder_);
    folder_.clear();
    securedVolume_ = true;
}

bool RestoreKit::Finish(const std::string& changeReport) {
    DropIfEmpty();
    if (folder_.empty()) return true;
    manifest_ = FileHandle();
    registry_ = FileHandle();
    bool finished = CopyFileAs(changeReport, folder_ + "\\" + kit::kChanges, FILE_ATTRIBUTE_NORMAL);
    if (!notSaved_.empty())
        finished &= AppendToFile(folder_ + "\\" + kit::kReadme,
                                 "\r\nThese changes were made, but what they replaced could not be "
                                 "saved:\r\n" +
                                     notSaved_);
    return finished;
}
