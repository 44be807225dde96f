#include "restore/SavedKit.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "base/PathText.h"
#include "base/ScopedHandle.h"
#include "restore/KitPlaces.h"
#include "restore/KitSecurity.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegFileText.h"

namespace {
bool IsRegistryRecord(const KitRecord& record) {
    return record.kind == KitRecordKind::Key || record.kind == KitRecordKind::Value;
}

// The first file or folder at or below path (only path itself when not deep) that others may
// change; empty when there is none.
std::string OpenToOthers(const std::string& path, bool deep) {
    DWORD error = ERROR_SUCCESS;
    if (!OnlyTrustedWriters(path, error)) return path;
    if (!deep || !(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) return "";
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA((path + "\\*").c_str(), &found));
    if (!search.IsValid()) return std::string();
    std::string open;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") open = OpenToOthers(path + "\\" + name, true);
    } while (open.empty() && FindNextFileA(search.Get(), &found));
    return open;
}

bool SameDigest(const std::string& path, const KitRecord& record) {
    DWORD size = 0, checksum = 0;
    return FileDigest(path, size, checksum) && size == record.size && checksum == record.checksum;
}
}  // namespace

SavedKit::SavedKit(std::string folder) : folder_(std::move(folder)) {}

std::string SavedKit::Name() const {
    return folder_.substr(LastBackslash(folder_) + 1);
}

std::string SavedKit::Problem(bool named) {
    const std::string name = Name(), parent = folder_.substr(0, LastBackslash(folder_));
    if (!IsKitName(name)) return "its name is no restore kit's time stamp";
    if (StampInFuture(name)) return "its time stamp lies in the future";
    const DWORD attributes = GetFileAttributesA(folder_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return "it is not there";
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return "it is no folder";
    if (!VolumeKeepsSecurity(folder_)) {
        if (!named) return "it lies on a volume without security; name its folder to take it";
    } else {
        std::string open = OpenToOthers(parent, false);
        if (open.empty()) open = OpenToOthers(folder_, true);
        if (!open.empty())
            return open + " may be changed by others than Administrators, SYSTEM and you";
    }
    const std::string manifest = folder_ + "\\" + kit::kManifest;
    std::string text;
    if (GetFileAttributesA(manifest.c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::string("it holds no ") + kit::kManifest;
    if (!ReadFileText(manifest, text) || !ParseManifest(text, records_, machine_))
        return std::string(kit::kManifest) + " cannot be read";
    if (machine_.computer.empty()) return "it was made by an earlier build of Oberin";
    return std::string();
}

std::string SavedKit::Damage() {
    DWORD registrySize = 0, registryChecksum = 0;
    for (const KitRecord& record : records_) {
        if (IsRegistryRecord(record)) {
            registrySize = record.size;
            registryChecksum = record.checksum;
        }
        const std::string copy = folder_ + "\\" + CopyOf(record.target);
        if (record.kind == KitRecordKind::File && FileExists(copy) && !SameDigest(copy, record))
            return copy + " differs from the manifest";
    }
    std::string registry;
    if (registrySize && ReadFileText(folder_ + "\\" + kit::kRegistry, registry)) {
        registry.resize(std::min<std::size_t>(registry.size(), registrySize));
        if (registry.size() != registrySize ||
            Crc32(registry.data(), registry.size()) != registryChecksum)
            return std::string(kit::kRegistry) + " differs from the manifest";
        registry_ = std::move(registry);
    }
    return std::string();
}

bool SavedKit::RegistryHeader() const {
    return registry_.compare(0, std::string(kRegedit4Header).size(), kRegedit4Header) == 0;
}

std::string SavedKit::Section(std::size_t index) const {
    std::size_t start = 0;
    for (std::size_t earlier = 0; earlier < index; ++earlier)
        if (IsRegistryRecord(records_[earlier])) start = records_[earlier].size;
    const std::size_t end = std::min<std::size_t>(records_[index].size, registry_.size());
    std::string section = registry_.substr(std::min(start, end), end - std::min(start, end));
    const std::string header = kRegedit4Header;
    if (start == 0 && section.compare(0, header.size(), header) == 0)
        section.erase(0, header.size());
    return section;
}
