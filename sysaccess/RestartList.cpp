#include "sysaccess/RestartList.h"

#include <algorithm>
#include <cstring>

#include "sysaccess/WritableKey.h"

namespace {
const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingList[] = L"PendingFileRenameOperations";
const wchar_t kPrefix[] = L"\\??\\";

RestartName Wide(const std::string& text) {
    RestartName wide(text.size());
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    return wide;
}

// What a name is compared by: its full path in capitals, "\??\" taken off.
RestartName Identity(const RestartName& name) {
    RestartName path(name.begin(), name.end());
    if (path.size() >= 4 && std::equal(kPrefix, kPrefix + 4, path.begin()))
        path.erase(path.begin(), path.begin() + 4);
    path.push_back(L'\0');
    RestartName full(GetFullPathNameW(path.data(), 0, nullptr, nullptr));
    if (!full.empty())
        full.resize(
            GetFullPathNameW(path.data(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    else
        full.assign(path.begin(), path.end() - 1);
    CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return full;
}

// The list's data as stored, in a value of type type; empty when there is no list.
LONG ReadList(ReadOnlyKey& key, std::vector<BYTE>& data, DWORD& type) {
    if (key.Read(kPendingList, data, type)) return ERROR_SUCCESS;
    data.clear();
    return key.LastError() == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : key.LastError();
}

// A deletion on the list: its file's name, and where its pair lies in the data, in characters.
struct Deletion {
    RestartName name;
    std::size_t begin, end;
};

// The deletions on the list held in data, in its order. text: data as characters.
std::vector<Deletion> Deletions(const std::vector<BYTE>& data, RestartName& text) {
    text.assign(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    // The end of the name that starts at at: its NUL, or the end of the data.
    const auto end = [&text](std::size_t at) {
        return std::find(text.begin() + std::min(at, text.size()), text.end(), L'\0') -
               text.begin();
    };
    std::vector<Deletion> deletions;
    for (std::size_t at = 0; at < text.size() && text[at];) {
        const std::size_t begin = at, source = end(at);
        const std::size_t target = end(source + 1);
        at = std::min(text.size(), target + 1);
        if (target <= source + 1)
            deletions.push_back(
                {RestartName(text.begin() + begin, text.begin() + source), begin, at});
    }
    return deletions;
}

// The deletion to take off for entry: the last one with entry's very text, else the last one
// with its full path; nullptr when there is none.
const Deletion* Match(const std::vector<Deletion>& deletions, const RestartName& entry) {
    const RestartName identity = Identity(entry);
    const Deletion* same = nullptr;
    const Deletion* match = nullptr;
    for (const Deletion& deletion : deletions) {
        if (deletion.name == entry) same = &deletion;
        if (Identity(deletion.name) == identity) match = &deletion;
    }
    return same ? same : match;
}

LONG TakeOff(WritableKey& key, const RestartName& entry, bool& found) {
    std::vector<BYTE> data;
    DWORD type = REG_NONE;
    const LONG result = ReadList(key, data, type);
    if (result != ERROR_SUCCESS) return result;
    RestartName text;
    const std::vector<Deletion> deletions = Deletions(data, text);
    const Deletion* match = Match(deletions, entry);
    if (!match) return ERROR_SUCCESS;
    found = true;
    data.erase(data.begin() + match->begin * sizeof(wchar_t),
               data.begin() + match->end * sizeof(wchar_t));
    text.erase(text.begin() + match->begin, text.begin() + match->end);
    const bool written =
        std::all_of(text.begin(), text.end(), [](wchar_t c) { return c == L'\0'; })
            ? key.DeleteValue(kPendingList)
            : key.Set(kPendingList, type, data.data(), static_cast<DWORD>(data.size()));
    return written ? ERROR_SUCCESS : key.LastError();
}
}  // namespace

RestartName RegisteredDeletion(const std::string& path) {
    ReadOnlyKey key(HKEY_LOCAL_MACHINE, kSessionManager, KEY_QUERY_VALUE);
    if (!key.IsOpen()) return RestartName();
    std::vector<BYTE> data;
    DWORD type = REG_NONE;
    const LONG result = ReadList(key, data, type);
    RestartName text, entry;
    const RestartName identity = Identity(Wide(path));
    if (result == ERROR_SUCCESS)
        for (const Deletion& deletion : Deletions(data, text))
            if (Identity(deletion.name) == identity) entry = deletion.name;
    return entry;
}

LONG TakeOffRestartList(const RestartName& entry, bool& found) {
    found = false;
    WritableKey key(HKEY_LOCAL_MACHINE, kSessionManager, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!key.IsOpen()) return key.LastError();
    return TakeOff(key, entry, found);
}

std::string RegisteredDeletionText(const std::string& path) {
    const RestartName entry = RegisteredDeletion(path);
    const int size = entry.empty() ? 0
                                   : WideCharToMultiByte(CP_ACP, 0, entry.data(), int(entry.size()),
                                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) return path;
    std::string text(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, entry.data(), int(entry.size()), &text[0], size, nullptr,
                        nullptr);
    return text;
}

std::string ShownEntry(const std::string& entry) {
    return entry.compare(0, 4, "\\??\\") == 0 ? entry.substr(4) : entry;
}

LONG TakeOffRestartList(const std::string& path, bool& found) {
    return TakeOffRestartList(Wide(path), found);
}
