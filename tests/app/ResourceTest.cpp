// The resources built into oberin.exe: icon, animation clip, About item and version block (the
// facts in resources.txt).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "res/resource.h"
#include "support/Machine.h"

namespace {
// The bytes of a part of oberin.exe, "" when there is none: "icon", "clip" (or "clip CHUNK": the
// contents of that chunk), "about item", or "version PATH": a value of the version block.
std::string Part(const std::string& part) {
    const std::string program = BinDir() + "\\oberin.exe";
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::string data(GetFileVersionInfoSizeA(program.c_str(), nullptr), '\0');
    void* found = &data[0];
    UINT length = 0;
    const bool icon = part == "icon";
    if (part.compare(0, 8, "version ") == 0) {
        if (GetFileVersionInfoA(program.c_str(), 0, data.size(), &data[0]))
            VerQueryValueA(&data[0], part.substr(8).c_str(), &found, &length);
    } else if (part == "about item") {
        length = LoadStringA(module, IDS_ABOUT_ITEM, &data[0], data.size());
    } else if (HRSRC resource =
                   FindResourceA(module, MAKEINTRESOURCEA(icon ? IDI_OBERIN : IDR_CLEANUP_CLIP),
                                 icon ? RT_GROUP_ICON : "AVI")) {
        found = LockResource(LoadResource(module, resource));
        length = SizeofResource(module, resource);
    }
    std::string bytes(static_cast<const char*>(found), length);
    FreeLibrary(module);
    if (part.compare(0, 5, "clip ") == 0) bytes.erase(0, bytes.find(part.substr(5)) + 8);
    return bytes;
}

TEST(ResourceTest, IconClipAboutItemAndVersionBlockHoldTheirFacts) {
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
