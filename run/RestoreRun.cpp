#include "run/RestoreRun.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "components/PathText.h"
#include "restore/KitSecurity.h"
#include "run/CleanupRun.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegFileText.h"
#include "sysaccess/RestartList.h"

namespace {
const char kMissing[] = "missing from the kit";

// The whole file, or false when it cannot be read.
bool ReadFileText(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, read);
    const bool whole = !std::ferror(file);
    std::fclose(file);
    return whole;
}

bool IsPresent(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The first file or folder at or below path that others may change; empty when there is none.
std::string OpenToOthers(const std::string& path) {
    DWORD error = ERROR_SUCCESS;
    if (!OnlyTrustedWriters(path, error)) return path;
    if (!(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) return std::string();
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    std::string open;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") open = OpenToOthers(path + "\\" + name);
    } while (open.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return open;
}

bool SameDigest(const std::string& path, const KitRecord& record) {
    DWORD size = 0, checksum = 0;
    return FileDigest(path, size, checksum) && size == record.size && checksum == record.checksum;
}
}  // namespace

void RestoreRun::Line(const char* kind, const std::string& target, const std::string& outcome,
                      bool restored) {
    ++items_;
    if (!restored) ++failed_;
    report_.Write(std::string(kind) + "\t" + target + "\t" + outcome + "\n");
}

void RestoreRun::Item(const char* kind, const std::string& target, DWORD error,
                      const char* outcome) {
    if (error == ERROR_SUCCESS)
        Line(kind, target, outcome, true);
    else
        Line(kind, target, "failed " + std::to_string(error), false);
}

int RestoreRun::Stop(const char* why, const std::string& line) {
    stopped_ = why;
    report_.Write(line + "\n");
    report_.Close();
    return 2;
}

int RestoreRun::Run(const std::string& kit) {
    OpenRunFile(report_, "oberin-restore.txt");
    if (!IsSupportedVersion())
        return Stop("not supported on this version of Windows", kNotSupportedText);
    std::string folder = kit;
    if (folder.empty()) folder = NewestKit(BesideLog(CurrentDirectoryLogPath(), kit::kFolder));
    if (folder.empty()) folder = NewestKit(BesideLog(LogPathIn(SystemDirectory()), kit::kFolder));
    if (folder.empty() || !IsPresent(folder + "\\" + kit::kReadme))
        return Stop("no restore kit found", "Oberin restore: no restore kit found.");
    const std::string refusal = Refusal(folder, !kit.empty());
    if (!refusal.empty())
        return Stop("the kit was refused", "Oberin restore: the kit " + folder + " is refused: " +
                                               refusal + ". Nothing has been changed.");
    report_.Write("Oberin restore from " + folder + "\nA line an item: kind, target, outcome.\n\n");
    Restore(folder);
    report_.Write("\n" + std::to_string(items_ - failed_) + " of " + std::to_string(items_) +
                  " items restored.\n");
    const bool written = report_.Close();
    return written && failed_ == 0 ? 0 : 1;
}

std::string RestoreRun::Refusal(const std::string& kit, bool named) {
    if (!VolumeKeepsSecurity(kit)) {
        if (!named) return "it lies on a volume without security; name its folder to take it";
    } else if (const std::string open = OpenToOthers(kit); !open.empty()) {
        return open + " may be changed by others than Administrators and SYSTEM";
    }
    std::string manifest;
    if (!ReadFileText(kit + "\\" + kit::kManifest, manifest) || !ParseManifest(manifest, records_))
        return std::string(kit::kManifest) + " cannot be read";
    // Each file's copy and restore.reg up to its last listed section as the manifest has them.
    DWORD registrySize = 0, registryChecksum = 0;
    for (const KitRecord& record : records_) {
        if (record.kind == KitRecordKind::Key || record.kind == KitRecordKind::Value) {
            registrySize = record.size;
            registryChecksum = record.checksum;
        }
        const std::string copy = kit + "\\" + CopyOf(record.target);
        if (record.kind == KitRecordKind::File && IsPresent(copy) && !SameDigest(copy, record))
            return copy + " differs from the manifest";
    }
    std::string registry;
    if (registrySize && ReadFileText(kit + "\\" + kit::kRegistry, registry)) {
        registry.resize(std::min<std::size_t>(registry.size(), registrySize));
        if (registry.size() != registrySize ||
            Crc32(registry.data(), registry.size()) != registryChecksum)
            return std::string(kit::kRegistry) + " differs from the manifest";
        registry_ = registry;
    }
    return std::string();
}

void RestoreRun::RestoreFile(const std::string& kit, const KitRecord& record) {
    const std::string copy = kit + "\\" + CopyOf(record.target);
    if (IsPresent(record.target)) {
        if (SameDigest(record.target, record))
            Item("file", record.target, ERROR_SUCCESS, "already as saved");
        else
            Item("file", record.target, ERROR_FILE_EXISTS, "");
    } else if (!IsPresent(copy)) {
        Line("file", record.target, kMissing, false);
    } else {
        CreateFolderPath(record.target.substr(0, LastBackslash(record.target)));
        const bool copied = CopyFileA(copy.c_str(), record.target.c_str(), TRUE) != FALSE;
        Item("file", record.target, copied ? ERROR_SUCCESS : GetLastError(), "restored");
    }
}

void RestoreRun::RestoreRegistry() {
    if (registry_.empty()) {
        // The manifest lists sections of a restore.reg that is not there.
        for (const KitRecord& record : records_)
            if (record.kind == KitRecordKind::Key || record.kind == KitRecordKind::Value) {
                Line(record.kind == KitRecordKind::Key ? "key" : "value", record.target, kMissing,
                     false);
            }
        return;
    }
    ImportRegText(registry_, [this](const char* kind, const std::string& item, LONG result) {
        Item(kind, item, result, "restored");
    });
}

void RestoreRun::Restore(const std::string& kit) {
    // Folders first, then the files in them, then the keys the run made (one it made again
    // after deleting it comes back whole), then the registry, then the restart list.
    for (const KitRecord& record : records_) {
        if (record.kind != KitRecordKind::Folder) continue;
        if (IsPresent(record.target))
            Item("folder", record.target, ERROR_SUCCESS, "already as saved");
        else
            Item("folder", record.target,
                 CreateFolderPath(record.target) ? ERROR_SUCCESS : ERROR_CANNOT_MAKE, "restored");
    }
    for (const KitRecord& record : records_)
        if (record.kind == KitRecordKind::File) RestoreFile(kit, record);
    for (const KitRecord& record : records_) {
        if (record.kind != KitRecordKind::NewKey) continue;
        std::string path;
        const HKEY root = RootOf(record.target, path);
        LONG result = root && !path.empty() ? RegDeleteKeyA(root, path.c_str()) : ERROR_BADKEY;
        // A key already gone counts as deleted.
        if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
        Item("new key", record.target, result, "deleted");
    }
    RestoreRegistry();
    for (const KitRecord& record : records_) {
        if (record.kind != KitRecordKind::Restart) continue;
        // The entry as the system registered it.
        bool onList = false;
        const LONG result = TakeOffRestartList(record.target, onList);
        Item("restart entry", ShownEntry(record.target), result,
             onList ? "taken off" : "not on the restart list");
    }
}
