#include "support/MachinePaths.h"

#include <algorithm>
#include <regex>
#include <utility>
#include <vector>

#include "base/PathText.h"
#include "base/SystemQueries.h"
#include "restore/KitLayout.h"
#include "restore/KitPlaces.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"

namespace {
// A Programs folder as the shell records it, read here apart from the program's own reading.
std::string ShellFolder(HKEY root, const char* name) {
    DWORD type = 0;
    std::string path;
    ReadValue(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name,
              &type, &path);
    return path.substr(0, path.find('\0'));
}

// The machine's places and their tokens, longest place first.
std::vector<std::pair<std::string, std::string>> Places() {
    std::vector<std::pair<std::string, std::string>> places = {
        {"%BIN%", BinDir()},
        {"%TESTS%", TestsDir()},
        {"%SYSTEM%", ParentOf(SystemDirectory())},
        {"%WINDOWS%", ParentOf(WindowsDirectory())},
        {"%COMMONPROGRAMS%", ShellFolder(HKEY_LOCAL_MACHINE, "Common Programs")},
        {"%USERPROGRAMS%", ShellFolder(HKEY_CURRENT_USER, "Programs")},
        {"%PROFILE%", Environment("USERPROFILE")}};
    std::sort(places.begin(), places.end(),
              [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
    return places;
}

// text from one code page to the other, through UTF-16.
std::string Converted(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return text;
    std::wstring wide(text.size(), L'\0');
    wide.resize(
        MultiByteToWideChar(from, 0, text.data(), int(text.size()), &wide[0], int(wide.size())));
    std::string result(wide.size() * 4, '\0');
    result.resize(WideCharToMultiByte(to, 0, wide.data(), int(wide.size()), &result[0],
                                      int(result.size()), nullptr, nullptr));
    return result;
}
}  // namespace

std::string TokenizeMachinePath(const std::string& text) {
    std::string result = text;
    for (const auto& place : Places()) Replace(result, place.second, place.first);
    static const std::regex kStamp(R"(oberin-restore\\\d{8}-\d{6}(-\d+)?)");
    return std::regex_replace(result, kStamp, "oberin-restore\\%STAMP%");
}

HKEY MachineRoot(const std::string& path, std::string* rest) {
    const std::size_t slash = path.find('\\');
    *rest = slash == std::string::npos ? "" : path.substr(slash + 1);
    return path.compare(0, slash, "HKCU") == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::string NewestKit(const std::string& folder) {
    for (const KitsEntry& entry : KitsEntries(folder))
        if (entry.folder && IsKitName(entry.name) && !StampInFuture(entry.name)) return entry.path;
    return std::string();
}

std::string ExpandMachinePath(const std::string& path) {
    std::string result = path;
    if (result.find("%KIT%") != std::string::npos)
        Replace(result, "%KIT%", NewestKit(std::string(kit::kFolder)));
    for (const auto& place : Places())
        if (result.find(place.first) != std::string::npos)
            Replace(result, place.first, place.second);
    return result;
}

std::size_t ValueNameMark(const std::string& text) {
    for (std::size_t at = FirstOf(text, "\\", 0); at != std::string::npos;
         at = FirstOf(text, "\\", at + 1))
        if (at + 1 < text.size() && text[at + 1] == '\\') return at;
    return std::string::npos;
}

std::string MachineText(const std::string& utf8) {
    return Converted(utf8, CP_UTF8, CP_ACP);
}

std::string CaseText(const std::string& machineText) {
    return Converted(machineText, CP_ACP, CP_UTF8);
}
