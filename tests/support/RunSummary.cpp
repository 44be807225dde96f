#include "support/RunSummary.h"
#include "support/SnapshotPlaces.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <set>

namespace {
const char kLinkedSet[] = "HKLM\\SYSTEM\\ControlSet001\\";
const char kServices[] = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string KindOf(const std::string& line) {
    return line.substr(0, line.find(' '));
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

// The system directory and its drivers folder, which lose files but are never the products'.
bool IsSystemFolder(const std::string& path) {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    return path == system || path == std::string(system) + "\\drivers";
}

bool IsShortcut(const std::string& path) {
    const std::string tail = path.size() > 4 ? path.substr(path.size() - 4) : "";
    return tail == ".lnk" || tail == ".LNK" || tail == ".Lnk";
}

// Kind and path of every line, without the twin of each key below the linked control set and
// without what Wine registers anew for every program with a window.
std::set<std::pair<std::string, std::string>> Items(const std::vector<std::string>& lines) {
    std::set<std::pair<std::string, std::string>> items;
    for (const std::string& line : lines) {
        const std::string path = PathOf(line);
        if (StartsWith(path, kLinkedSet)) continue;
        if (path.find("\\Control\\Video\\") != std::string::npos) continue;
        items.insert({KindOf(line), path});
    }
    return items;
}

std::string Line(const char* label, std::size_t count) {
    char text[96];
    std::snprintf(text, sizeof text, "  %-26s %zu\n", label, count);
    return text;
}
}  // namespace

std::string RunSummary(const MachineState& before, const MachineState& after) {
    const auto removed = Items(Removed(before, after));
    const auto added = Items(Added(before, after));
    std::set<std::string> presentPaths, presentFiles, removedPaths, addedPaths;
    std::map<std::string, std::size_t> entries;  // per folder, what is left in it
    for (const std::string& line : after) {
        const std::string kind = KindOf(line), path = PathOf(line);
        if (kind == "pending") continue;
        presentPaths.insert(path);
        if (kind == "file") presentFiles.insert(path);
        if (kind == "file" || kind == "dir") ++entries[ParentOf(path)];
    }
    for (const auto& item : removed) removedPaths.insert(item.second);
    for (const auto& item : added) addedPaths.insert(item.second);

    std::size_t files = 0, shortcuts = 0, folders = 0, keys = 0, values = 0, services = 0;
    std::set<std::string> emptiedFolders;
    for (const auto& item : removed) {
        const std::string& kind = item.first;
        const std::string& path = item.second;
        if (kind == "file") {
            ++(IsShortcut(path) ? shortcuts : files);
            emptiedFolders.insert(ParentOf(path));
        } else if (kind == "dir") {
            ++folders;
        } else if (kind == "key") {
            ++keys;
        } else if (kind == "value" && !addedPaths.count(path) &&
                   presentPaths.count(ParentOf(ParentOf(path)))) {
            ++values;  // deleted on its own, not with its key, and not rewritten
        } else if (kind == "service") {
            ++services;
        }
    }
    std::vector<std::string> pendingHeld, rewritten, created, lingering, keptFolders;
    std::size_t pendingGone = 0;
    for (const auto& item : added) {
        if (item.first == "pending") {
            if (presentFiles.count(item.second))
                pendingHeld.push_back(item.second);
            else
                ++pendingGone;
        } else if (item.first == "value" && removedPaths.count(item.second)) {
            rewritten.push_back(item.second);
        } else if (item.first == "key" || item.first == "file") {
            created.push_back(item.second);
        }
    }
    for (const std::string& line : after) {
        const std::string path = PathOf(line);
        if (KindOf(line) == "service" && removedPaths.count(kServices + path))
            lingering.push_back(path);
        if (KindOf(line) == "dir" && emptiedFolders.count(path) && !IsSystemFolder(path))
            keptFolders.push_back(entries[path]
                                      ? "folder stays, it holds " + std::to_string(entries[path]) +
                                            " item(s) no product owns: " + path
                                      : "folder left empty, no step removes it: " + path);
    }

    std::string text = "Removed:\n";
    text += Line("files", files);
    text += Line("folders", folders);
    text += Line("shortcuts", shortcuts);
    text += Line("registry keys", keys);
    text += Line("registry values", values);
    text += Line("services", services);
    text += Line("restart-time deletions", pendingHeld.size() + pendingGone);
    text += "  (restart-time deletions count files; the restart list may name one twice)\n";
    text += "Left, and why:\n";
    for (const std::string& path : pendingHeld)
        text += "  in use, deleted at the restart: " + path + "\n";
    if (pendingGone)
        text += "  " + std::to_string(pendingGone) +
                " restart-time deletions name files already gone (each deletion that finds "
                "nothing is scheduled all the same)\n";
    for (const std::string& name : lingering)
        text += "  key deleted, known to the service manager until the restart: " + name + "\n";
    for (const std::string& folder : keptFolders) text += "  " + folder + "\n";
    for (const std::string& path : rewritten) text += "  value rewritten: " + path + "\n";
    for (const std::string& path : created) text += "  created: " + path + "\n";
    return text;
}
