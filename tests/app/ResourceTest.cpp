// The resources built into oberin.exe: icon, animation clip, About item and version block.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "res/resource.h"
#include "support/Machine.h"

namespace {
const std::string kProgram = BinDir() + "\\oberin.exe";

// The resource of oberin.exe with this name and type, "" when there is none.
std::string Resource(LPCSTR name, LPCSTR type) {
    HMODULE program = LoadLibraryExA(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = FindResourceA(program, name, type);
    std::string data;
    if (found)
        data.assign(static_cast<const char*>(LockResource(LoadResource(program, found))),
                    SizeofResource(program, found));
    FreeLibrary(program);
    return data;
}

// The little-endian number of size bytes at offset of data, 0 past its end.
DWORD At(const std::string& data, std::size_t offset, std::size_t size = 4) {
    DWORD value = 0;
    if (offset < data.size() && size <= data.size() - offset)
        std::memcpy(&value, data.data() + offset, size);
    return value;
}

TEST(ResourceTest, IconIsOne32By32ImageOf16Colours) {
    const std::string group = Resource(MAKEINTRESOURCEA(IDI_OBERIN), RT_GROUP_ICON);
    ASSERT_EQ(6u + 14u, group.size());        // header and one entry
    EXPECT_EQ(0x10'20'20u, At(group, 6, 3));  // colours, height, width
    EXPECT_EQ(4u, At(group, 12, 2));          // bits a pixel
}

TEST(ResourceTest, ClipIsASilentUncompressed32By32ClipOfFourFramesAt15PerSecond) {
    const std::string avi = Resource(MAKEINTRESOURCEA(IDR_CLEANUP_CLIP), "AVI");
    ASSERT_EQ("RIFF", avi.substr(0, 4));
    const std::size_t main = avi.find("avih") + 8, stream = avi.find("strh") + 8,
                      format = avi.find("strf") + 8;
    EXPECT_EQ(4u, At(avi, main + 16));  // frames
    EXPECT_EQ(1u, At(avi, main + 24));  // streams: video only
    EXPECT_EQ("vids", avi.substr(stream, 4));
    EXPECT_EQ(15u, At(avi, stream + 24) / At(avi, stream + 20));  // frames a second
    EXPECT_EQ(32u, At(avi, format + 4));
    EXPECT_EQ(32u, At(avi, format + 8));
    EXPECT_EQ(8u, At(avi, format + 14, 2));          // bits a pixel
    EXPECT_EQ(DWORD(BI_RGB), At(avi, format + 16));  // uncompressed
}

TEST(ResourceTest, AboutItemAndVersionBlockNameTheUtilityAndItsMaker) {
    HMODULE program = LoadLibraryExA(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char item[64] = "";
    LoadStringA(program, IDS_ABOUT_ITEM, item, sizeof item);
    FreeLibrary(program);
    EXPECT_STREQ("&About Oberin...", item);

    std::string block(GetFileVersionInfoSizeA(kProgram.c_str(), nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoA(kProgram.c_str(), 0, block.size(), &block[0]));
    auto value = [&](const std::string& name) {
        void* found = nullptr;
        UINT length = 0;
        return VerQueryValueA(&block[0], name.c_str(), &found, &length) ? found : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value("\\"));
    ASSERT_TRUE(fixed);
    EXPECT_EQ(MAKELONG(5, 1), fixed->dwFileVersionMS);  // 1.5.0.0
    EXPECT_EQ(MAKELONG(5, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS | fixed->dwProductVersionLS);
    EXPECT_EQ(DWORD(VFT_APP), fixed->dwFileType);
    const auto* translation = static_cast<const DWORD*>(value("\\VarFileInfo\\Translation"));
    EXPECT_EQ(MAKELONG(0x0409, 0x04B0), translation ? *translation : 0);
    const char* strings[][2] = {
        {"CompanyName", "Velmora"},        {"FileDescription", "Oberin Utility from Velmora"},
        {"FileVersion", "1.5.0.0"},        {"ProductVersion", "1.5.0.0"},
        {"InternalName", "Oberin"},        {"OriginalFilename", "OBERIN.EXE"},
        {"ProductName", "Oberin Utility"}, {"LegalCopyright", nullptr}};  // any text
    for (const auto& entry : strings) {
        const auto* text =
            static_cast<const char*>(value(std::string("\\StringFileInfo\\040904b0\\") + entry[0]));
        EXPECT_TRUE(text && (!entry[1] || std::strcmp(entry[1], text) == 0)) << entry[0];
    }
}
}  // namespace
