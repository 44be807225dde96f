#include "support/Machine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <tuple>

#include <shlwapi.h>

#include "base/PathText.h"
#include "restore/KitLayout.h"
#include "restore/KitPlaces.h"
#include "run/RunLock.h"
#include "support/RegistryEdit.h"
#include "sysaccess/ProgmanClient.h"

namespace {
const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingList[] = "PendingFileRenameOperations";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void Replace(std::string& text, const std::string& token, const std::string& value) {
    if (token.empty()) return;
    for (std::size_t at = text.find(token); at != std::string::npos;
         at = text.find(token, at + value.size()))
        text.replace(at, token.size(), value);
}

std::string Directory(UINT(WINAPI* query)(LPSTR, UINT)) {
    char path[MAX_PATH] = "";
    query(path, MAX_PATH);
    return path;
}

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
        {"%SYSTEM%", Directory(GetSystemDirectoryA)},
        {"%WINDOWS%", Directory(GetWindowsDirectoryA)},
        {"%COMMONPROGRAMS%", ShellFolder(HKEY_LOCAL_MACHINE, "Common Programs")},
        {"%USERPROGRAMS%", ShellFolder(HKEY_CURRENT_USER, "Programs")},
        {"%PROFILE%", Environment("USERPROFILE")}};
    std::sort(places.begin(), places.end(),
              [](const auto& a, const auto& b) { return a.second.size() > b.second.size(); });
    return places;
}

// The places in text written back as their tokens, longest first, and the time stamp of a
// restore kit's folder as %STAMP%.
std::string TokenizeMachinePath(const std::string& text) {
    std::string result = text;
    for (const auto& place : Places()) Replace(result, place.second, place.first);
    static const std::regex kStamp(R"(oberin-restore\\\d{8}-\d{6}(-\d+)?)");
    return std::regex_replace(result, kStamp, "oberin-restore\\%STAMP%");
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, LastBackslash(path));
}

void CreateFolders(const std::string& path) {
    const std::size_t parent = LastBackslash(path);
    if (parent != std::string::npos && parent > 2) CreateFolders(path.substr(0, parent));
    CreateDirectoryA(path.c_str(), nullptr);
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

HKEY RootOf(const std::string& path, std::string* rest) {
    const std::size_t slash = path.find('\\');
    *rest = slash == std::string::npos ? "" : path.substr(slash + 1);
    return path.compare(0, slash, "HKCU") == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// Sends one command to Program Manager, waiting for the shell to start serving it.
bool SendToProgramManager(const std::string& command) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        ProgmanConversation conversation;
        if (conversation.Connected() && conversation.Execute(command)) return true;
        Sleep(100);
    }
    return false;
}

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

std::string TestsDir() {
    return Environment("OBERIN_TESTS_DIR");
}

std::string BinDir() {
    return Environment("OBERIN_BIN_DIR");
}

long RunAndWait(const std::string& commandLine, const std::string& directory, DWORD limitMs) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return -1;
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
        code = static_cast<DWORD>(kTimedOut);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

std::string FreshFolder(const std::string& path) {
    RemoveTree(path);
    CreateFolders(path);
    return path;
}

std::vector<std::vector<std::string>> CaseTable(const std::string& file) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(ReadWholeFile(TestsDir() + "\\" + file));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        for (std::size_t at = line.find("\\x"); at != std::string::npos && at + 3 < line.size();
             at = line.find("\\x", at + 1))
            line.replace(at, 4, 1,
                         static_cast<char>(std::stoi(line.substr(at + 2, 2), nullptr, 16)));
        rows.emplace_back();
        for (std::size_t start = 0, bar;; start = bar + 3) {
            bar = line.find(" | ", start);
            rows.back().push_back(line.substr(start, bar - start));
            if (bar == std::string::npos) break;
        }
    }
    return rows;
}

bool CreateTestService(const std::string& name, DWORD type, const std::string& binary) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                       type, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

void DeleteTestService(const std::string& name) {
    if (SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {
        if (SC_HANDLE service = OpenServiceA(manager, name.c_str(), DELETE)) {
            DeleteService(service);
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
    RemoveKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\" + name);
}

bool SetWindowsVersion(const std::string& version) {
    const std::string values = TestsDir() + "\\bed\\" + version + ".reg";
    return GetFileAttributesA(values.c_str()) != INVALID_FILE_ATTRIBUTES &&
           RunAndWait("regedit.exe /s \"" + values + "\"") == 0;
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
    for (std::size_t at = 0; at + 1 < text.size(); ++at) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[at])))
            ++at;
        else if (text[at] == '\\' && text[at + 1] == '\\')
            return at;
    }
    return std::string::npos;
}

std::string MachineText(const std::string& utf8) {
    return Converted(utf8, CP_UTF8, CP_ACP);
}

std::string CaseText(const std::string& machineText) {
    return Converted(machineText, CP_ACP, CP_UTF8);
}

MachineLayout::MachineLayout(const std::string& name, const std::string& language) {
    if (!language.empty()) {
        language_ = ReadWholeFile(TestsDir() + "\\bed\\language-" + language + ".reg");
        Import(language_);
    }
    Include(name);
}

MachineLayout::~MachineLayout() {
    for (HANDLE handle : held_)
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    for (HANDLE process : running_) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

void MachineLayout::Run(const std::string& path) {
    CreateFolders(ParentOf(path));
    CopyFileA((BinDir() + "\\testuninstaller.exe").c_str(), path.c_str(), FALSE);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::string line = "\"" + path + "\" /sleep 600000";
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    running_.push_back(process.hProcess);
    // Running once its image is mapped, which refuses writing to the file.
    for (int wait = 0; wait < 100; ++wait) {
        const HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) break;
        CloseHandle(file);
        Sleep(50);
    }
}

namespace {
// A DACL that lets everyone do everything, as a folder made at a drive root inherits it.
void OpenToEveryone(const std::string& path) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    BYTE sid[SECURITY_MAX_SID_SIZE], list[128];
    InitializeSid(sid, &world, 1);
    *GetSidSubAuthority(sid, 0) = SECURITY_WORLD_RID;
    InitializeAcl(reinterpret_cast<PACL>(list), sizeof list, ACL_REVISION);
    AddAccessAllowedAce(reinterpret_cast<PACL>(list), ACL_REVISION, FILE_ALL_ACCESS, sid);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<PACL>(list), FALSE);
    SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, &descriptor);
}
}  // namespace

void MachineLayout::Include(const std::string& name) {
    const std::string folder = TestsDir() + "\\machines\\" + name;
    const std::string registry = ReadWholeFile(folder + "\\registry.reg");
    if (!registry.empty()) {
        Import(registry);
        if (!language_.empty()) Import(language_);
    }
    std::istringstream manifest(MachineText(ReadWholeFile(folder + "\\files.txt")));
    for (std::string line; std::getline(manifest, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        const std::size_t blank = line.find(' ');
        if (line.empty() || line[0] == '#' || blank == std::string::npos) continue;
        Add(line.substr(0, blank), line.substr(blank + 1));
    }
}

void MachineLayout::Import(std::string registry) {
    // Paths of the build go into the .reg text with their backslashes doubled.
    for (const char* token : {"%BIN%", "%TESTS%"}) {
        std::string place = token[1] == 'B' ? BinDir() : TestsDir();
        Replace(place, "\\", "\\\\");
        Replace(registry, token, place);
    }
    const std::string expanded = Directory(GetWindowsDirectoryA) + "\\temp\\layout.reg";
    WriteWholeFile(expanded, MachineText(registry));
    RunAndWait("regedit.exe /s \"" + expanded + "\"");
    DeleteFileA(expanded.c_str());
}

void MachineLayout::Add(const std::string& kind, const std::string& argument) {
    if (kind == "include") return Include(argument);
    if (kind == "progman") {
        SendToProgramManager(argument);
        return;
    }
    const std::string path = ExpandMachinePath(argument);
    if (kind == "service") {
        CreateTestService(path, SERVICE_WIN32_OWN_PROCESS,
                          ExpandMachinePath("%SYSTEM%\\" + path + ".exe"));
    } else if (kind == "driver") {
        CreateTestService(path, SERVICE_KERNEL_DRIVER, "System32\\drivers\\" + path + ".sys");
    } else if (kind == "running") {
        Run(path);
    } else if (kind == "lock") {
        held_.push_back(CreateMutexA(nullptr, FALSE, kRunLockName));
    } else if (kind == "regedit") {
        RunAndWait("regedit.exe /s \"" + path + "\"");
    } else if (kind == "everyone") {
        OpenToEveryone(path);
    } else if (kind == "gone") {
        DeleteFileA(path.c_str());
    } else if (kind == "dir") {
        CreateFolders(path);
    } else if (kind == "long") {
        // KEY\\NAME=TEXT: a string value of TEXT and 256 KiB of "x".
        const std::size_t name = ValueNameMark(path), text = path.find('=', name);
        std::string key;
        const HKEY root = RootOf(path.substr(0, name), &key);
        WriteString(root, key, path.substr(name + 2, text - name - 2),
                    path.substr(text + 1) + std::string(256 * 1024, 'x'));
    } else if (kind == "copy") {
        // FROM | TO: a file of the build or of the machine copied to another place.
        const std::string from = path.substr(0, path.find(" | ")),
                          to = path.substr(from.size() + 3);
        CreateFolders(ParentOf(to));
        CopyFileA(from.c_str(), to.c_str(), FALSE);
    } else {
        CreateFolders(ParentOf(path));
        WriteWholeFile(path, argument + "\r\n");
        if (kind == "readonly") SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        if (kind == "hidden") SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        // held: open without delete sharing; shared: open with every sharing, deletion too.
        if (kind == "held" || kind == "shared")
            held_.push_back(
                CreateFileA(path.c_str(), GENERIC_READ,
                            kind == "held" ? FILE_SHARE_READ
                                           : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr));
    }
}

MachineState Snapshot() {
    MachineState state;
    for (const std::string name : {"HKLM\\SOFTWARE", "HKLM\\SOFTWARE\\Classes\\helpfile",
                                   "HKLM\\SYSTEM", "HKCU\\Software"}) {
        std::string path;
        const HKEY root = RootOf(name, &path);
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
