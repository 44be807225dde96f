#include "components/CatalogCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "run/CleanupRun.h"
#include "run/LogFile.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kPendingValue[] = "PendingFileRenameOperations";

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

const char kBoardService[] = "RLBWAN";

bool CreateBoardService() {
    return CreateTestService(kBoardService, SERVICE_KERNEL_DRIVER, "System32\\drivers\\rlbwan.sys",
                             "Velmora Remote Lumenar Board WAN");
}
