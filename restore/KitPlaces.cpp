#include "restore/KitPlaces.h"

#include <windows.h>

#include <algorithm>

#include "base/PathText.h"
#include "base/ScopedHandle.h"
#include "core/LogFile.h"
#include "restore/KitLayout.h"

namespace {
bool OnLocalFixedDrive(const std::string& path) {
    if (path.size() < 3 || path[1] != ':') return false;
    return GetDriveTypeA(path.substr(0, 3).c_str()) == DRIVE_FIXED;
}
}  // namespace

std::string KitsFolderFor(const std::string& logPath) {
    if (OnLocalFixedDrive(logPath)) return BesideLog(logPath, kit::kFolder);
    return BesideLog(SystemDirectoryLogPath(), kit::kFolder);
}

std::vector<std::string> KitsFolders() {
    std::vector<std::string> folders = {BesideLog(CurrentDirectoryLogPath(), kit::kFolder)};
    const std::string system = KitsFolderFor(SystemDirectoryLogPath());
    if (UpperCase(FullPath(system)) != UpperCase(FullPath(folders[0]))) folders.push_back(system);
    return folders;
}

std::vector<KitsEntry> KitsEntries(const std::string& folder) {
    std::vector<KitsEntry> entries;
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search.IsValid()) return entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            entries.push_back({folder + "\\" + name, name,
                               (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search.Get(), &found));
    std::sort(entries.begin(), entries.end(),
              [](const KitsEntry& one, const KitsEntry& other) { return one.name > other.name; });
    return entries;
}

bool StampInFuture(const std::string& name) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart += 24ull * 60 * 60 * 10000000;
    const FILETIME tomorrow{time.LowPart, time.HighPart};
    SYSTEMTIME limit;
    FileTimeToSystemTime(&tomorrow, &limit);
    return name.substr(0, 15) > KitName(0, &limit);
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2] = "";
    char* name = nullptr;
    const DWORD size = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
    std::string result = size > 0 && size < sizeof full ? full : path;
    std::replace(result.begin(), result.end(), '/', '\\');
    while (result.size() > 3 && EndsInBackslash(result)) result.pop_back();
    return result;
}
