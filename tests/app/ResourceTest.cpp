// The resources built into oberin.exe: icon, animation clip, About item and version block.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "res/resource.h"
#include "support/Machine.h"

namespace {
class ResourceTest : public testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module_);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    std::string Resource(LPCSTR name, LPCSTR type) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found) return "";
        return std::string(static_cast<const char*>(LockResource(LoadResource(module_, found))),
                           SizeofResource(module_, found));
    }

    const std::string path_ = BinDir() + "\\oberin.exe";
    HMODULE module_ = nullptr;
};

// The little-endian number of size bytes at offset of data, 0 past its end.
DWORD At(const std::string& data, std::size_t offset, std::size_t size = 4) {
    DWORD value = 0;
    if (offset < data.size() && size <= data.size() - offset)
        std::memcpy(&value, data.data() + offset, size);
    return value;
}

TEST_F(ResourceTest, IconIsOne32By32ImageOf16Colours) {
    const std::string group = Resource(MAKEINTRESOURCEA(IDI_OBERIN), RT_GROUP_ICON);
    ASSERT_EQ(6u + 14u, group.size());        // header and one entry
    EXPECT_EQ(0x10'20'20u, At(group, 6, 3));  // width, height, colours
    const std::string image = Resource(MAKEINTRESOURCEA(At(group, 18, 2)), RT_ICON);
    EXPECT_EQ(32u, At(image, 4));     // width
    EXPECT_EQ(4u, At(image, 14, 2));  // bits a pixel
}

TEST_F(ResourceTest, ClipIsASilentUncompressed32By32ClipOfFourFramesAt15PerSecond) {
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

TEST_F(ResourceTest, AboutItemAndVersionBlockNameTheUtilityAndItsMaker) {
    char item[64] = "";
    LoadStringA(module_, IDS_ABOUT_ITEM, item, sizeof item);
    EXPECT_STREQ("&About Oberin...", item);

    std::string block(GetFileVersionInfoSizeA(path_.c_str(), nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, block.size(), &block[0]));
    auto query = [&](const std::string& name) -> const void* {
        void* value = nullptr;
        UINT length = 0;
        return VerQueryValueA(&block[0], name.c_str(), &value, &length) ? value : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query("\\"));
    ASSERT_TRUE(fixed);
    EXPECT_EQ(MAKELONG(5, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(5, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS | fixed->dwProductVersionLS);
    EXPECT_EQ(DWORD(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(MAKELONG(0x0409, 0x04B0),
              *static_cast<const DWORD*>(query("\\VarFileInfo\\Translation")));
    const char* strings[][2] = {
        {"CompanyName", "Velmora"},        {"FileDescription", "Oberin Utility from Velmora"},
        {"FileVersion", "1.5.0.0"},        {"ProductVersion", "1.5.0.0"},
        {"InternalName", "Oberin"},        {"OriginalFilename", "OBERIN.EXE"},
        {"ProductName", "Oberin Utility"},
    };
    for (const auto& entry : strings) {
        const auto* value =
            static_cast<const char*>(query(std::string("\\StringFileInfo\\040904b0\\") + entry[0]));
        EXPECT_STREQ(entry[1], value ? value : "(none)") << entry[0];
    }
    EXPECT_TRUE(query("\\StringFileInfo\\040904b0\\LegalCopyright"));
}
}  // namespace
