#include "components/CatalogCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "support/SnapshotPlaces.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kPendingValue[] = "PendingFileRenameOperations";

// A value line counts as its key's.
std::string OwnerOf(const std::string& line) {
    const std::string path = PathOf(line);
    return line.rfind("value ", 0) == 0 ? path.substr(0, path.find("\\\\")) : path;
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
        const std::string path = OwnerOf(line);
        EXPECT_TRUE(std::any_of(expanded.begin(), expanded.end(),
                                [&](const std::string& place) { return IsAtOrBelow(path, place); }))
            << "removed but not the product's: " << line;
    }
    for (const std::string& place : expanded) {
        EXPECT_TRUE(std::any_of(removed.begin(), removed.end(),
                                [&](const std::string& line) {
                                    return line.rfind("value ", 0) != 0 &&
                                           _stricmp(PathOf(line).c_str(), place.c_str()) == 0;
                                }))
            << "not removed: " << place;
    }
}

void UndoLayout(const std::string& machine) {
    const std::string folder = TestsDir() + "\\machines\\" + machine;
    for (const std::string& line : ManifestLines(machine)) {
        const ManifestEntry entry = ParseManifestLine(line);
        if (entry.kind.empty()) continue;
        const std::string path = ExpandMachinePath(entry.path);
        if (entry.kind == "dir") {
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

bool FileExistsAt(const std::string& path) {
    return GetFileAttributesA(ExpandMachinePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

const char kBoardService[] = "RLBWAN";

bool CreateBoardService() {
    return CreateTestService(kBoardService, SERVICE_KERNEL_DRIVER, "System32\\drivers\\rlbwan.sys",
                             "Velmora Remote Lumenar Board WAN");
}
