#include "run/RestoreKit.h"

#include <windows.h>

#include <cstdio>
#include <utility>

#include "run/LogFile.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegFileText.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kReadme[] =
    "Oberin restore kit\n"
    "\n"
    "A cleanup run saved here, before each change, what the change replaced:\n"
    "  restore.reg  the registry keys it deleted, with all their subkeys and values, and the\n"
    "               values it deleted, set or rewrote (network binding lists included), as they\n"
    "               were; it restores them when imported with regedit.\n"
    "  files        every file it deleted (moved here, which deleted it) or scheduled for\n"
    "               deletion at the restart (a copy), shortcuts included, under its full path:\n"
    "               files\\C\\WINNT\\x.dll is C:\\WINNT\\x.dll.\n"
    "  kit.txt      a kind and a path a line: the folders the run removed, the keys it made\n"
    "               to set a value in, and the deletions it added to the restart list.\n"
    "The change report oberin-changes.txt beside the log lists every change of the run.\n"
    "\n"
    "To restore, run \"oberin /restore\" in the folder the run was started from (it uses the\n"
    "newest kit there, else the newest in the system directory) or \"oberin /restore <this\n"
    "folder>\". It brings the folders and files back with their contents and attributes, the\n"
    "keys and values with their data and types, and takes the run's own deletions off the\n"
    "restart list; it writes oberin-restore.txt with a line per item and ends with exit code 0\n"
    "only when everything came back. Restart Windows afterwards: the services and drivers whose\n"
    "keys came back are known again after the restart.\n"
    "\n"
    "What cannot come back:\n"
    "- what an uninstaller that the run started removed by itself;\n"
    "- the changes of the system's network setup, which the run starts after removing a network\n"
    "  product: check the adapters and bindings in the Network control panel;\n"
    "- Program Manager items and groups (Windows NT 3.51): create them again by hand;\n"
    "- the security of registry keys: restored keys get the security of their parent key.\n";

std::string Stamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return stamp;
}

std::string Upper(std::string text) {
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool IsFileAction(ChangeAction action) {
    return action == ChangeAction::DeleteFile || action == ChangeAction::DeleteShortcut;
}
}  // namespace

RestoreKit::RestoreKit(std::string folder) : parent_(std::move(folder)) {}

RestoreKit::~RestoreKit() {
    if (registry_ != INVALID_HANDLE_VALUE) CloseHandle(registry_);
}

std::string RestoreKit::CopyOf(const std::string& path) const {
    std::string place = path;
    if (place.size() > 1 && place[1] == ':')
        place.erase(1, 1);
    else if (place.compare(0, 2, "\\\\") == 0)
        place.replace(0, 2, "UNC\\");
    return folder_ + "\\files\\" + place;
}

std::string RestoreKit::PlaceOfCopy(const std::string& copy) {
    if (copy.compare(0, 4, "UNC\\") == 0) return "\\\\" + copy.substr(4);
    return copy.substr(0, 1) + ":" + copy.substr(1);
}

bool RestoreKit::Ready() {
    if (tried_) return !folder_.empty();
    tried_ = true;
    CreateDirectoryA(parent_.c_str(), nullptr);
    const std::string stamp = parent_ + "\\" + Stamp();
    std::string folder = stamp;
    for (int number = 2; !CreateDirectoryA(folder.c_str(), nullptr); ++number) {
        if (GetLastError() != ERROR_ALREADY_EXISTS || number > 99) return false;
        folder = stamp + "-" + std::to_string(number);
    }
    LogFile readme;
    if (!readme.Open(folder + "\\README.txt")) return false;
    readme.Write(kReadme);
    if (!readme.Close()) return false;
    folder_ = folder;
    return true;
}

bool RestoreKit::Note(const char* kind, const std::string& path) {
    return AppendToFile(folder_ + "\\kit.txt", std::string(kind) + "\t" + path + "\r\n");
}

bool RestoreKit::Save(const Change& change, bool& taken) {
    const bool file = IsFileAction(change.action);
    const bool tree =
        change.action == ChangeAction::DeleteKey || change.action == ChangeAction::DeleteService;
    // A value set where there was none is saved as missing, so that restoring deletes it; a
    // key made for it is recorded, so that restoring deletes the key.
    const bool newKey =
        change.action == ChangeAction::SetValue && !RegistryKey(change.root, change.key).Present();
    if (!change.present && change.action != ChangeAction::SetValue) return true;
    if (!file && change.action != ChangeAction::RemoveFolder && !change.root) return true;
    // Each target is saved once, under its kind: F file, D folder, K key, V value, N new key.
    const std::string key = change.root ? RootName(change.root) + "\\" + change.key : "";
    const std::string place = file           ? "F" + Upper(change.target)
                              : !change.root ? "D" + Upper(change.target)
                              : tree         ? "K" + Upper(key)
                              : newKey       ? "N" + Upper(key)
                                             : "V" + Upper(change.target);
    if (!saved_.insert(place).second) return true;
    if (!Ready()) return false;
    if (file) return SaveFile(change.target, taken);
    if (!change.root) return Note("folder", change.target);
    if (newKey) return Note("new key", key);
    return SaveRegistry(change, tree);
}

bool RestoreKit::SaveFile(const std::string& path, bool& taken) {
    // The copy takes the file's own name, whatever the case of the name it is deleted by; the
    // file is read by its own name too, which the system finds without a search.
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    const std::size_t cut = path.rfind('\\') + 1;
    const std::string source = path.substr(0, cut) + found.cFileName;
    const std::string copy = CopyOf(source);
    // Files come mostly folder by folder: a folder made for the last copy is there.
    const std::string folder = copy.substr(0, copy.rfind('\\'));
    if (folder != lastFolder_ && !CreateFolderPath(folder)) return false;
    lastFolder_ = folder;
    // Moved within its volume the file is gone from its place at once, as its deletion would
    // have it; one in use, or on another volume, is copied and left to the deletion.
    const bool file = !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                      path.find_first_of("*?") == std::string::npos;
    taken = file && MoveFileA(source.c_str(), copy.c_str());
    return taken || CopyFileAs(source, copy, found.dwFileAttributes);
}

bool RestoreKit::SaveRegistry(const Change& change, bool tree) {
    const std::string key = Upper(RootName(change.root) + "\\" + change.key);
    // A key saved whole holds its values as they were before any change of the run, and a key
    // the run made had none: a value below either is not saved again.
    for (std::size_t end = key.size(); !tree && end != std::string::npos;
         end = key.rfind('\\', end - 1))
        if (saved_.count("K" + key.substr(0, end)) || saved_.count("N" + key.substr(0, end)))
            return true;
    std::string section;
    const bool exported = tree ? ExportKeyTree(change.root, change.key, section)
                               : ExportValue(change.root, change.key, change.value, section);
    if (!exported) return false;
    if (tree) {
        // The values saved before in this key come again after it, so that what was saved
        // first is what an import leaves.
        for (const auto& [place, text] : values_)
            if (place.compare(0, key.size(), key) == 0 &&
                (place.size() == key.size() || place[key.size()] == '\\'))
                section += text;
    } else {
        values_.emplace_back(key, section);
    }
    // restore.reg stays open for the run, and each section is written through at once.
    if (registry_ == INVALID_HANDLE_VALUE) {
        registry_ = CreateFileA((folder_ + "\\restore.reg").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (registry_ == INVALID_HANDLE_VALUE) return false;
        section = kRegedit4Header + section;
    }
    DWORD written = 0;
    return WriteFile(registry_, section.data(), static_cast<DWORD>(section.size()), &written,
                     nullptr) &&
           written == section.size();
}

bool RestoreKit::AddRestartEntry(const std::string& path) {
    return Ready() && Note("restart", path);
}
