#include "support/MachineState.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <tuple>
#include <utility>

#include <shlwapi.h>

#include "support/Machine.h"
#include "support/MachinePaths.h"
#include "support/RegistryEdit.h"

namespace {
const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingList[] = "PendingFileRenameOperations";

// Value data as text: strings with "\0" for each NUL and \xHH for other control bytes, DWORDs
// in hex, anything else as hex bytes after its type number.
std::string ValueText(DWORD type, const BYTE* data, DWORD size) {
    char part[16];
    if (type == REG_DWORD && size == 4) {
        std::snprintf(part, sizeof part, "dword:%08lx", *reinterpret_cast<const DWORD*>(data));
        return part;
    }
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    std::string result = type == REG_SZ          ? "sz:"
                         : type == REG_EXPAND_SZ ? "expand:"
                         : type == REG_MULTI_SZ  ? "multi:"
                                                 : "type" + std::to_string(type) + ":";
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(part, sizeof part, !text ? "%02x" : data[i] ? "\\x%02x" : "\\0", data[i]);
        result += text && data[i] >= 0x20 ? std::string(1, char(data[i])) : std::string(part);
    }
    return result;
}

// Places Wine itself changes whatever runs: its own settings and its shell's, the display
// devices and the service counter. ControlSet001 is CurrentControlSet's twin. A 64-bit prefix's
// 32-bit registry view (Wow6432Node) has no counterpart on NT 4.0, where the program sees the one
// view a 64-bit program sees here; Wine keeps some keys in both (NetworkCards), so a change to
// one would show twice.
bool Skipped(const std::string& key) {
    static const char* const kSkipped[] = {
        "HKCU\\Software\\Wine",
        "HKLM\\SOFTWARE\\Wow6432Node",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
        "HKLM\\SOFTWARE\\Classes",
        "HKLM\\SYSTEM\\ControlSet001",
        "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Class",
        "HKLM\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses",
        "HKLM\\SYSTEM\\CurrentControlSet\\Control\\ServiceCurrent",
        "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Video",
        "HKLM\\SYSTEM\\CurrentControlSet\\Hardware Profiles"};
    for (const char* skipped : kSkipped)
        if (lstrcmpiA(key.c_str(), skipped) == 0) return true;
    return false;
}

// The key at parent\path, named name in the snapshot, with its values and subkeys.
void WalkKey(HKEY parent, const std::string& path, const std::string& name, MachineState& state) {
    HKEY key;
    if (Skipped(name) || RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    state.insert("key " + name);
    // One call a value, its buffers as large as the key's largest; any failure ends the walk
    // (Wine's performance-data keys fail every index).
    DWORD values = 0, longestName = 0, largestData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     &longestName, &largestData, nullptr, nullptr);
    std::vector<char> valueName(longestName + 1);
    std::vector<BYTE> data(std::max<DWORD>(largestData, 1));
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameLength = DWORD(valueName.size()), type = 0, size = DWORD(data.size());
        if (RegEnumValueA(key, i, valueName.data(), &nameLength, nullptr, &type, data.data(),
                          &size) != ERROR_SUCCESS)
            break;
        if (lstrcmpA(valueName.data(), kPendingList) != 0)
            state.insert("value " + name + "\\\\" + valueName.data() + " = " +
                         ValueText(type, data.data(), size));
    }
    char child[256];
    for (DWORD i = 0, length = sizeof child;
         RegEnumKeyExA(key, i, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof child)
        WalkKey(key, child, name + "\\" + child, state);
    RegCloseKey(key);
}

void WalkFolder(const std::string& folder, MachineState& state) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == ".." || (folder == "C:" && name == "users")) continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            state.insert("dir " + path);
            WalkFolder(path, state);
        } else {
            state.insert("file " + path + " (" + std::to_string(found.nFileSizeLow) + " bytes)");
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void AddServices(MachineState& state) {
    std::vector<BYTE> buffer(256 * 1024);
    auto* services = reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data());
    DWORD needed = 0, count = 0, resume = 0;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager || !EnumServicesStatusA(manager, SERVICE_WIN32 | SERVICE_DRIVER, SERVICE_STATE_ALL,
                                         services, DWORD(buffer.size()), &needed, &count, &resume))
        count = 0;
    for (DWORD i = 0; i < count; ++i)
        state.insert(std::string("service ") + services[i].lpServiceName);
    if (manager) CloseServiceHandle(manager);
}

// The restart list's deletions (pairs whose target is empty), numbered by their place in it.
void AddPendingDeletions(MachineState& state) {
    DWORD type = 0;
    std::string data;
    if (!ReadValue(HKEY_LOCAL_MACHINE, kSessionManager, kPendingList, &type, &data) ||
        type != REG_MULTI_SZ)
        return;
    std::istringstream list(data);
    unsigned number = 0;
    for (std::string source, target;
         std::getline(list, source, '\0') && std::getline(list, target, '\0');) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "pending %02u ", ++number);
        if (target.empty()) state.insert(prefix + source.substr(source.rfind("\\??\\", 0) ? 0 : 4));
    }
}

// What a line is about: a file without its size, a value without its data.
std::string Item(const std::string& line) {
    if (line.rfind("file ", 0) == 0) return line.substr(0, line.rfind(" ("));
    if (line.rfind("value ", 0) == 0) return line.substr(0, line.find(" = ", ValueNameMark(line)));
    return line;
}

// A file of a restore kit, whose size depends on the paths and times it holds.
bool InRestoreKit(const std::string& fileLine) {
    return PathMatchSpecA(fileLine.c_str(), "file *\\oberin-restore\\*");
}

// The text of a file that a run made, each line behind "    | ": the program's reports whatever
// their size, other small text files but its log and restore kits.
std::string Contents(const std::string& fileLine) {
    const std::string path = Item(fileLine).substr(5);
    const std::string content = ReadWholeFile(path);
    const bool report = PathMatchSpecA(PathFindFileNameA(path.c_str()), "oberin-*.txt");
    if ((content.size() > 2048 && !report) || content.find('\0') != std::string::npos ||
        InRestoreKit(fileLine) || lstrcmpiA(PathFindFileNameA(path.c_str()), "oberin.log") == 0)
        return "";
    std::string text;
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += "    | " + TokenizeMachinePath(line) + "\n";
    }
    return text;
}
}  // namespace

MachineState Snapshot() {
    MachineState state;
    for (const std::string name : {"HKLM\\SOFTWARE", "HKLM\\SOFTWARE\\Classes\\helpfile",
                                   "HKLM\\SYSTEM", "HKCU\\Software"}) {
        std::string path;
        const HKEY root = MachineRoot(name, &path);
        WalkKey(root, path, name, state);
    }
    WalkFolder("C:", state);
    // Of the profile, whose other folders link to the host's home folder, only its Start menu,
    // where Wine's shell keeps Program Manager's groups.
    WalkFolder(Environment("USERPROFILE") + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu",
               state);
    AddServices(state);
    AddPendingDeletions(state);
    return state;
}

std::string ChangeList(const MachineState& before, const MachineState& after) {
    std::vector<std::pair<std::string, char>> lines;
    for (const std::string& line : before)
        if (!after.count(line)) lines.push_back({line, '-'});
    for (const std::string& line : after)
        if (!before.count(line)) lines.push_back({line, '+'});
    // A file shown with its text, or kept in a restore kit, is shown without its size, which the
    // paths in it would make differ from one checkout to another; what went before what came.
    std::map<std::string, std::string> shown;
    for (const auto& line : lines)
        if (line.second == '+' && line.first.rfind("file ", 0) == 0)
            if (std::string text = Contents(line.first); !text.empty())
                shown[Item(line.first)] = text;
    for (auto& line : lines)
        if (line.first.rfind("file ", 0) == 0 &&
            (shown.count(Item(line.first)) || InRestoreKit(line.first)))
            line.first = Item(line.first);
    std::sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first, b.second) < std::tie(b.first, a.second);
    });
    std::string text;
    for (const auto& line : lines) {
        text += std::string(1, line.second) + " " + TokenizeMachinePath(line.first) + "\n";
        if (const auto file = shown.find(line.first); file != shown.end() && line.second == '+')
            text += file->second;
    }
    return text;
}

std::vector<std::string> Removed(const MachineState& before, const MachineState& after) {
    std::set<std::string> left;
    for (const std::string& line : after) left.insert(Item(line));
    std::vector<std::string> removed;
    for (const std::string& line : before)
        if (line.rfind("pending ", 0) != 0 && !left.count(Item(line)))
            removed.push_back(Item(line));
    return removed;
}
