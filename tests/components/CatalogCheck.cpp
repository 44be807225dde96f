#include "components/CatalogCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "run/CleanupRun.h"
#include "run/LogFile.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingValue[] = "PendingFileRenameOperations";
const char kCardsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";

std::string PathOf(const std::string& line) {
    std::string path = line.substr(line.find(' ') + 1);
    // A value line names its key, two backslashes, then the value.
    if (line.rfind("value ", 0) == 0) path = path.substr(0, path.find("\\\\"));
    return path;
}

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && _strnicmp(a.c_str(), b.c_str(), a.size()) == 0;
}

bool IsBelow(const std::string& path, const std::string& place) {
    return SamePath(path, place) || (path.size() > place.size() && path[place.size()] == '\\' &&
                                     _strnicmp(path.c_str(), place.c_str(), place.size()) == 0);
}

std::string ScratchLog() {
    return FreshFolder("C:\\catalog-log") + "\\oberin.log";
}
}  // namespace

MachineState CatalogSnapshot() {
    return Snapshot(MachineKeys(), {"%WINDOWS%", "%COMMONPROGRAMS%"});
}

void ExpectRemovedExactly(const std::vector<std::string>& removed,
                          const std::vector<std::string>& places) {
    std::vector<std::string> expanded;
    for (const std::string& place : places) expanded.push_back(ExpandMachinePath(place));
    for (const std::string& line : removed) {
        if (line.find(std::string("\\\\") + kPendingValue + "=") != std::string::npos) continue;
        const std::string path = PathOf(line);
        EXPECT_TRUE(std::any_of(expanded.begin(), expanded.end(),
                                [&](const std::string& place) { return IsBelow(path, place); }))
            << "removed but not the product's: " << line;
    }
    for (const std::string& place : expanded) {
        EXPECT_TRUE(std::any_of(removed.begin(), removed.end(),
                                [&](const std::string& line) {
                                    return line.rfind("value ", 0) != 0 &&
                                           SamePath(PathOf(line), place);
                                }))
            << "not removed: " << place;
    }
}

std::string RemoveAndLog(Component& product, bool* result) {
    const std::string path = ScratchLog();
    TheLogFile().Open(path);
    *result = product.Remove();
    TheLogFile().Close();
    return ReadWholeFile(path);
}

std::string ReportAndLog(Component& product, const char* displayName, ProductKind kind) {
    const std::string path = ScratchLog();
    TheLogFile().Open(path);
    ReportProduct(product, displayName, kind);
    TheLogFile().Close();
    return ReadWholeFile(path);
}

std::string WithCrLf(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

RefusedScheduling::RefusedScheduling() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != 0) return;
    RegSetValueExA(key, kPendingValue, 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(key);
}

RefusedScheduling::~RefusedScheduling() {
    ClearPendingDeletions();
}

void ClearPendingDeletions() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != 0) return;
    RegDeleteValueA(key, kPendingValue);
    RegCloseKey(key);
}

bool IsPendingDeletion(const std::string& path) {
    const std::vector<std::string> pending = PendingDeletions();
    const std::string expanded = ExpandMachinePath(path);
    return std::any_of(pending.begin(), pending.end(),
                       [&](const std::string& entry) { return SamePath(entry, expanded); });
}

void UndoLayout(const std::string& machine) {
    const std::string folder = TestsDir() + "\\machines\\" + machine;
    std::istringstream files(ReadWholeFile(folder + "\\files.txt"));
    for (std::string line; std::getline(files, line);) {
        std::istringstream words(line);
        std::string kind, path;
        words >> kind;
        if (kind.empty() || kind[0] == '#') continue;
        std::getline(words >> std::ws, path);
        while (!path.empty() && (path.back() == '\r' || path.back() == ' ')) path.pop_back();
        path = ExpandMachinePath(path);
        if (kind == "dir") {
            RemoveTree(path);
            continue;
        }
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        RemoveDirectoryA(path.substr(0, path.find_last_of('\\')).c_str());
    }
    std::istringstream registry(ReadWholeFile(folder + "\\registry.reg"));
    const std::string root = "[HKEY_LOCAL_MACHINE\\";
    for (std::string line; std::getline(registry, line);) {
        if (line.rfind(root, 0) != 0) continue;
        RegistryKey(line.substr(root.size(), line.find(']') - root.size())).DeleteTree();
    }
    ClearPendingDeletions();
}

bool RegistryKeyExists(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool FileExistsAt(const std::string& path) {
    return GetFileAttributesA(ExpandMachinePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateBoardService() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = CreateServiceA(
        manager, "RLBWAN", "Velmora Remote Lumenar Board WAN", SERVICE_ALL_ACCESS,
        SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
        "System32\\drivers\\rlbwan.sys", nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

bool BoardServiceKnown() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return false;
    SC_HANDLE service = OpenServiceA(manager, "RLBWAN", SERVICE_QUERY_STATUS);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

void DeleteBoardService() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return;
    if (SC_HANDLE service = OpenServiceA(manager, "RLBWAN", DELETE)) {
        DeleteService(service);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
}

void ForgetHostNetworkCards() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCardsKey, 0, KEY_ALL_ACCESS, &key) != 0) return;
    for (char name[256]; RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS;)
        if (RegDeleteKeyA(key, name) != ERROR_SUCCESS) break;
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kCardsKey);
}
