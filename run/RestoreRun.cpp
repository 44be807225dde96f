#include "run/RestoreRun.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "run/CleanupRun.h"
#include "run/RestoreKit.h"
#include "run/SystemQueries.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegFileText.h"
#include "sysaccess/RestartList.h"

namespace {
std::string ReadFileText(const std::string& path) {
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, read);
        std::fclose(file);
    }
    return text;
}

bool IsPresent(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

std::string NewestKit(const std::string& folder) {
    std::string newest;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return newest;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name[0] != '.' &&
            (newest.empty() || name > newest))
            newest = name;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return newest.empty() ? newest : folder + "\\" + newest;
}

void RestoreRun::Item(const char* kind, const std::string& target, DWORD error,
                      const char* outcome) {
    ++items_;
    if (error != ERROR_SUCCESS) ++failed_;
    report_.Write(std::string(kind) + "\t" + target + "\t" +
                  (error == ERROR_SUCCESS ? outcome : "failed " + std::to_string(error)) + "\n");
}

int RestoreRun::Run(const std::string& kit) {
    OpenRunFile(report_, "oberin-restore.txt");
    std::string folder = kit;
    if (folder.empty()) folder = NewestKit(BesideLog(CurrentDirectoryLogPath(), "oberin-restore"));
    if (folder.empty())
        folder = NewestKit(BesideLog(LogPathIn(SystemDirectory()), "oberin-restore"));
    // Every kit has its README.txt; kit.txt only when the run removed a folder, made a key or
    // added to the restart list.
    found_ = !folder.empty() && IsPresent(folder + "\\README.txt");
    report_.Write(found_ ? "Oberin restore from " + folder +
                               "\nA line an item: kind, target, outcome.\n\n"
                         : std::string("Oberin restore: no restore kit found.\n"));
    if (found_) Restore(folder);
    report_.Write("\n" + std::to_string(items_ - failed_) + " of " + std::to_string(items_) +
                  " items restored.\n");
    const bool written = report_.Close();
    return found_ && written && failed_ == 0 ? 0 : 1;
}

void RestoreRun::RestoreFiles(const std::string& copies, const std::string& below) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((copies + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string copy = copies + "\\" + name;
        const std::string relative = below.empty() ? name : below + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RestoreFiles(copy, relative);
            continue;
        }
        const std::string path = RestoreKit::PlaceOfCopy(relative);
        if (IsPresent(path)) {
            Item("file", path, ERROR_SUCCESS, "already there");
            continue;
        }
        CreateFolderPath(path.substr(0, path.rfind('\\')));
        const bool copied = CopyFileA(copy.c_str(), path.c_str(), TRUE) != FALSE;
        Item("file", path, copied ? ERROR_SUCCESS : GetLastError(), "restored");
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RestoreRun::Restore(const std::string& kit) {
    // kit.txt: a kind, a tab and a path a line.
    std::vector<std::pair<std::string, std::string>> entries;
    const std::string list = ReadFileText(kit + "\\kit.txt");
    for (std::size_t at = 0, end; at < list.size(); at = end + 1) {
        end = std::min(list.find("\r\n", at), list.size());
        const std::size_t tab = list.find('\t', at);
        if (tab < end)
            entries.emplace_back(list.substr(at, tab - at), list.substr(tab + 1, end - tab - 1));
        if (end < list.size()) ++end;
    }
    // Folders first, then the files in them, then the registry, then the restart list.
    for (const auto& [kind, path] : entries) {
        if (kind != "folder") continue;
        if (IsPresent(path)) {
            Item("folder", path, ERROR_SUCCESS, "already there");
            continue;
        }
        Item("folder", path, CreateFolderPath(path) ? ERROR_SUCCESS : ERROR_CANNOT_MAKE,
             "restored");
    }
    RestoreFiles(kit + "\\files", std::string());
    // The keys the run made go first: one it made again after deleting it comes back whole.
    for (const auto& [kind, name] : entries) {
        if (kind != "new key") continue;
        std::string path;
        const HKEY root = RootOf(name, path);
        const LONG result =
            root && !path.empty() ? RegDeleteKeyA(root, path.c_str()) : ERROR_BADKEY;
        Item("new key", name, result, "deleted");
    }
    const std::string registry = ReadFileText(kit + "\\restore.reg");
    if (!registry.empty())
        ImportRegText(registry, [this](const char* kind, const std::string& item, LONG result) {
            Item(kind, item, result, "restored");
        });
    for (const auto& [kind, path] : entries) {
        if (kind != "restart") continue;
        bool onList = false;
        const LONG result = TakeOffRestartList(path, onList);
        Item("restart entry", path, result, onList ? "taken off" : "not on the restart list");
    }
}
