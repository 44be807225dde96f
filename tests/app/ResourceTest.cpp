// The resources built into oberin.exe: icon, main dialog, animation clip, About item and version
// block (the facts in resources.txt).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "res/resource.h"
#include "support/Machine.h"

namespace {
// The bytes of a part of oberin.exe named as in resources.txt, "" when there is none.
std::string Part(const std::string& part) {
    const std::string program = BinDir() + "\\oberin.exe";
    HMODULE exe = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = FindResourceA(exe, MAKEINTRESOURCEA(IDR_CLEANUP_CLIP), "AVI");
    if (part == "icon") resource = FindResourceA(exe, MAKEINTRESOURCEA(IDI_OBERIN), RT_GROUP_ICON);
    if (part == "dialog") resource = FindResourceA(exe, MAKEINTRESOURCEA(IDD_CLEANUP), RT_DIALOG);
    std::string data(GetFileVersionInfoSizeA(program.c_str(), nullptr), '\0');
    void* found = &data[0];
    UINT length = 0;
    if (part.compare(0, 8, "version ") == 0) {
        if (GetFileVersionInfoA(program.c_str(), 0, data.size(), &data[0]))
            VerQueryValueA(&data[0], part.substr(8).c_str(), &found, &length);
    } else if (part == "about item") {
        length = LoadStringA(exe, IDS_ABOUT_ITEM, &data[0], data.size());
    } else if (resource) {
        found = LockResource(LoadResource(exe, resource));
        length = SizeofResource(exe, resource);
    }
    std::string bytes(static_cast<const char*>(found), length);
    FreeLibrary(exe);
    if (part.compare(0, 5, "clip ") == 0) bytes.erase(0, bytes.find(part.substr(5)) + 8);
    return bytes;
}

TEST(ResourceTest, IconDialogClipAboutItemAndVersionBlockHoldTheirFacts) {
    for (const auto& row : CaseTable("app\\resources.txt")) {
        const std::string data = Part(row[0]) + '\0';
        const std::string at = data.substr(std::min<std::size_t>(std::stoul(row[1]), data.size()));
        if (row[2] == "text") {
            EXPECT_EQ(row[3], at.substr(0, row[3].size())) << row[0];
            continue;
        }
        DWORD value = 0;
        std::memcpy(&value, at.data(), std::min<std::size_t>(std::stoul(row[2]), at.size()));
        EXPECT_EQ(std::stoul(row[3], nullptr, 0), value) << row[0] << " at " << row[1];
    }
}
}  // namespace
