#include "support/Machine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "run/SystemQueries.h"
#include "support/RegistryEdit.h"
#include "support/RestartList.h"
#include "support/TestServices.h"
#include "sysaccess/ProgramsFolders.h"

namespace {
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WithoutBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

void Replace(std::string& text, const std::string& token, const std::string& value) {
    for (std::size_t at = text.find(token); at != std::string::npos;
         at = text.find(token, at + value.size()))
        text.replace(at, token.size(), value);
}

std::string Doubled(const std::string& path) {
    std::string result;
    for (char c : path) {
        result += c;
        if (c == '\\') result += c;
    }
    return result;
}

HKEY RootOf(const std::string& path, std::string* rest) {
    const std::size_t slash = path.find('\\');
    const std::string root = path.substr(0, slash);
    *rest = slash == std::string::npos ? "" : path.substr(slash + 1);
    if (root == "HKCU" || root == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (root == "HKU" || root == "HKEY_USERS") return HKEY_USERS;
    return HKEY_LOCAL_MACHINE;
}

std::string Hex(const BYTE* data, DWORD size) {
    std::string text;
    char digits[3];
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", data[i]);
        text += digits;
    }
    return text;
}

void WalkKey(HKEY key, const std::string& name, const std::vector<std::string>& skipped,
             MachineState& state) {
    for (const std::string& skip : skipped)
        if (lstrcmpiA(skip.c_str(), name.c_str()) == 0) return;
    state.insert("key " + name);
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        char valueName[16384];
        DWORD nameLength = sizeof valueName, type = 0, size = 0;
        LONG result = RegEnumValueA(key, i, valueName, &nameLength, nullptr, &type, nullptr, &size);
        // Any failure ends the walk: Wine's performance-data keys fail every index.
        if (result != ERROR_SUCCESS) break;
        data.resize(std::max<DWORD>(size, 1));
        nameLength = sizeof valueName;
        size = static_cast<DWORD>(data.size());
        if (RegEnumValueA(key, i, valueName, &nameLength, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
            continue;
        state.insert("value " + name + "\\\\" + valueName + "=" + std::to_string(type) + ":" +
                     Hex(data.data(), size));
    }
    for (DWORD i = 0;; ++i) {
        char child[256];
        DWORD length = sizeof child;
        if (RegEnumKeyExA(key, i, child, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        HKEY sub;
        if (RegOpenKeyExA(key, child, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            WalkKey(sub, name + "\\" + child, skipped, state);
            RegCloseKey(sub);
        }
    }
}

void WalkFolder(const std::string& folder, MachineState& state) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            state.insert("dir " + path);
            WalkFolder(path, state);
        } else {
            state.insert("file " + path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void CreateFolders(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

void CreateFileWithParents(const std::string& path) {
    CreateFolders(path.substr(0, path.find_last_of('\\')));
    WriteWholeFile(path, path + "\r\n");
}
}  // namespace

std::string TestsDir() {
    return Environment("OBERIN_TESTS_DIR");
}

std::string BinDir() {
    return Environment("OBERIN_BIN_DIR");
}

long RunAndWait(const std::string& commandLine, const std::string& directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

long RunOberin(const std::string& arguments, const std::string& directory) {
    return RunAndWait("\"" + BinDir() + "\\oberin.exe\" " + arguments, directory);
}

void RemoveTree(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (!RemoveDirectoryA(path.c_str())) DeleteFileA(path.c_str());
}

std::string FreshFolder(const std::string& path) {
    RemoveTree(path);
    CreateFolders(path);
    return path;
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

bool ImportRegistry(const std::string& regFile) {
    return RunAndWait("regedit.exe /s \"" + regFile + "\"") == 0;
}

bool SetWindowsVersion(const std::string& version) {
    return RunAndWait("winecfg.exe -v " + version) == 0;
}

void ForgetHostNetworkCards() {
    RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards");
}

std::string ExpandMachinePath(const std::string& path) {
    std::string result = path;
    Replace(result, "%SYSTEM%", WithoutBackslash(SystemDirectory()));
    Replace(result, "%WINDOWS%", WithoutBackslash(WindowsDirectory()));
    if (result.find("%COMMONPROGRAMS%") != std::string::npos)
        Replace(result, "%COMMONPROGRAMS%", CommonProgramsFolder());
    if (result.find("%USERPROGRAMS%") != std::string::npos)
        Replace(result, "%USERPROGRAMS%", UserProgramsFolder());
    return result;
}

ManifestEntry ParseManifestLine(const std::string& line) {
    ManifestEntry entry;
    std::istringstream words(line);
    words >> entry.kind;
    if (entry.kind.empty() || entry.kind[0] == '#') return ManifestEntry();
    std::getline(words >> std::ws, entry.path);
    while (!entry.path.empty() && (entry.path.back() == '\r' || entry.path.back() == ' '))
        entry.path.pop_back();
    return entry;
}

std::vector<std::string> ManifestLines(const std::string& machine) {
    std::istringstream manifest(
        ReadWholeFile(TestsDir() + "\\machines\\" + machine + "\\files.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(manifest, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

MachineLayout::MachineLayout(const std::string& name) {
    Include(name);
}

void MachineLayout::Include(const std::string& name) {
    const std::string folder = TestsDir() + "\\machines\\" + name;
    const std::string registry = folder + "\\registry.reg";
    if (GetFileAttributesA(registry.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // Paths of the build go into the .reg text with their backslashes doubled.
        std::string text = ReadWholeFile(registry);
        Replace(text, "%BIN%", Doubled(BinDir()));
        Replace(text, "%TESTS%", Doubled(TestsDir()));
        const std::string expanded = WindowsDirectory() + "temp\\layout.reg";
        WriteWholeFile(expanded, text);
        ImportRegistry(expanded);
        DeleteFileA(expanded.c_str());
    }
    for (const std::string& line : ManifestLines(name)) Add(line);
}

MachineLayout::~MachineLayout() {
    Release();
}

void MachineLayout::Add(const std::string& line) {
    const ManifestEntry entry = ParseManifestLine(line);
    const std::string& kind = entry.kind;
    if (kind.empty()) return;
    std::string path = entry.path;
    if (kind == "include") {
        Include(path);
        return;
    }
    path = ExpandMachinePath(path);
    if (kind == "service") {
        CreateTestService(path, SERVICE_WIN32_OWN_PROCESS, SystemDirectory() + path + ".exe");
        return;
    }
    if (kind == "driver") {
        CreateTestService(path, SERVICE_KERNEL_DRIVER, "System32\\drivers\\" + path + ".sys");
        return;
    }
    if (kind == "dir") {
        CreateFolders(path);
        return;
    }
    CreateFileWithParents(path);
    if (kind == "readonly") SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    if (kind == "held")
        held_.push_back(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
}

void MachineLayout::Release() {
    for (HANDLE handle : held_)
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    held_.clear();
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                          nullptr)) {}

HeldFile::~HeldFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

MachineState Snapshot(const std::vector<std::string>& registryKeys,
                      const std::vector<std::string>& folders) {
    MachineState state;
    std::vector<std::string> skipped;
    for (const std::string& name : registryKeys)
        if (name[0] == '-') skipped.push_back(name.substr(1));
    for (const std::string& name : registryKeys) {
        if (name[0] == '-') continue;
        std::string path;
        HKEY root = RootOf(name, &path);
        HKEY key;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
        WalkKey(key, name, skipped, state);
        RegCloseKey(key);
    }
    for (const std::string& folder : folders) WalkFolder(ExpandMachinePath(folder), state);
    return state;
}

std::vector<std::string> MachineKeys() {
    return {"HKLM\\SOFTWARE", "-HKLM\\SOFTWARE\\Classes", "HKLM\\SOFTWARE\\Classes\\helpfile",
            "HKLM\\SYSTEM",   "HKCU\\Software",           "-HKCU\\Software\\Wine"};
}

std::vector<std::string> MachineFolders() {
    return {"%WINDOWS%", "C:\\Program Files"};
}

MachineState WholeMachineSnapshot() {
    std::vector<std::string> keys = MachineKeys();
    keys.push_back("HKLM\\SOFTWARE\\Classes");
    keys.erase(std::remove(keys.begin(), keys.end(), "-HKLM\\SOFTWARE\\Classes"), keys.end());
    MachineState state = Snapshot(keys, MachineFolders());
    if (SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE)) {
        std::vector<BYTE> buffer(256 * 1024);
        DWORD needed = 0, count = 0, resume = 0;
        if (EnumServicesStatusA(manager, SERVICE_WIN32 | SERVICE_DRIVER, SERVICE_STATE_ALL,
                                reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()),
                                static_cast<DWORD>(buffer.size()), &needed, &count, &resume)) {
            const auto* services = reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data());
            for (DWORD i = 0; i < count; ++i)
                state.insert(std::string("service ") + services[i].lpServiceName);
        }
        CloseServiceHandle(manager);
    }
    for (const std::string& path : PendingDeletions()) state.insert("pending " + path);
    return state;
}

std::vector<std::string> Removed(const MachineState& before, const MachineState& after) {
    std::vector<std::string> lines;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(lines));
    return lines;
}

std::vector<std::string> Added(const MachineState& before, const MachineState& after) {
    return Removed(after, before);
}
