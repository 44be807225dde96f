// The resources built into oberin.exe: icon, animation clip, string and version block.
#include <gtest/gtest.h>

#include <cstring>

#include "support/Machine.h"

namespace {
class ResourceTest : public testing::Test {
  protected:
    void SetUp() override {
        module_ =
            LoadLibraryExA((BinDir() + "\\oberin.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(module_);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    std::string Resource(LPCSTR name, LPCSTR type) {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found) return "";
        const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

template <typename T>
T At(const std::string& data, std::size_t offset) {
    T value{};
    if (offset + sizeof value <= data.size())
        std::memcpy(&value, data.data() + offset, sizeof value);
    return value;
}

// Offset of the data of the first chunk with fourcc at or after from, or npos.
std::size_t ChunkData(const std::string& riff, const char* fourcc, std::size_t from = 12) {
    const std::size_t at = riff.find(fourcc, from);
    return at == std::string::npos ? at : at + 8;
}

TEST_F(ResourceTest, IconIsOne32By32ImageWith16Colours) {
    const std::string group = Resource(MAKEINTRESOURCEA(128), RT_GROUP_ICON);
    ASSERT_EQ(6u + 14u, group.size());
    EXPECT_EQ(1, At<WORD>(group, 4));   // one image
    EXPECT_EQ(32, At<BYTE>(group, 6));  // width
    EXPECT_EQ(32, At<BYTE>(group, 7));  // height
    EXPECT_EQ(16, At<BYTE>(group, 8));  // colours
    EXPECT_EQ(4, At<WORD>(group, 12));  // bits a pixel
    const std::string image = Resource(MAKEINTRESOURCEA(At<WORD>(group, 18)), RT_ICON);
    EXPECT_EQ(4, At<WORD>(image, 14));
    EXPECT_EQ(32, At<LONG>(image, 4));
}

TEST_F(ResourceTest, ClipIsAnUncompressedSilent32By32ClipOfFourFramesAt15PerSecond) {
    const std::string avi = Resource(MAKEINTRESOURCEA(129), "AVI");
    ASSERT_EQ("RIFF", avi.substr(0, 4));
    EXPECT_EQ("AVI ", avi.substr(8, 4));
    const std::size_t main = ChunkData(avi, "avih");
    ASSERT_NE(std::string::npos, main);
    EXPECT_EQ(66667u, At<DWORD>(avi, main));    // microseconds a frame
    EXPECT_EQ(4u, At<DWORD>(avi, main + 16));   // frames
    EXPECT_EQ(1u, At<DWORD>(avi, main + 24));   // streams: video only
    EXPECT_EQ(32u, At<DWORD>(avi, main + 32));  // width
    EXPECT_EQ(32u, At<DWORD>(avi, main + 36));  // height
    const std::size_t stream = ChunkData(avi, "strh");
    EXPECT_EQ("vids", avi.substr(stream, 4));
    EXPECT_EQ(std::string::npos, avi.find("auds"));
    EXPECT_EQ(15u, At<DWORD>(avi, stream + 24) / At<DWORD>(avi, stream + 20));
    const std::size_t format = ChunkData(avi, "strf");
    EXPECT_EQ(32, At<LONG>(avi, format + 4));
    EXPECT_EQ(32, At<LONG>(avi, format + 8));
    EXPECT_EQ(8, At<WORD>(avi, format + 14));  // bits a pixel
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), At<DWORD>(avi, format + 16));
    EXPECT_EQ(256u, At<DWORD>(avi, format + 32));            // palette entries
    EXPECT_EQ(40u + 256u * 4u, At<DWORD>(avi, format - 4));  // header and palette
    std::size_t frames = 0;
    for (std::size_t at = avi.find("00db"); at != std::string::npos && at < avi.find("idx1");
         at = avi.find("00db", at + 8 + 1024), ++frames)
        EXPECT_EQ(1024u, At<DWORD>(avi, at + 4));
    EXPECT_EQ(4u, frames);
}

TEST_F(ResourceTest, AboutItemString) {
    char text[64] = "";
    EXPECT_EQ(16, LoadStringA(module_, 101, text, sizeof text));
    EXPECT_STREQ("&About Oberin...", text);
}

TEST_F(ResourceTest, VersionBlockNamesTheUtilityAndItsMaker) {
    const std::string path = BinDir() + "\\oberin.exe";
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_LT(0u, size);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &block[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(5, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(5, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    const char* expected[][2] = {
        {"CompanyName", "Velmora"},
        {"FileDescription", "Oberin Utility from Velmora"},
        {"FileVersion", "1.5.0.0"},
        {"ProductVersion", "1.5.0.0"},
        {"InternalName", "Oberin"},
        {"OriginalFilename", "OBERIN.EXE"},
        {"ProductName", "Oberin Utility"},
        {"Comments", ""},
        {"LegalTrademarks", ""},
        {"PrivateBuild", ""},
        {"SpecialBuild", ""},
    };
    for (const auto& entry : expected) {
        SCOPED_TRACE(entry[0]);
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904b0\\") + entry[0];
        ASSERT_TRUE(
            VerQueryValueA(&block[0], query.c_str(), reinterpret_cast<void**>(&value), &length));
        EXPECT_STREQ(entry[1], value);
    }
    char* copyright = nullptr;
    EXPECT_TRUE(VerQueryValueA(&block[0], "\\StringFileInfo\\040904b0\\LegalCopyright",
                               reinterpret_cast<void**>(&copyright), &length));
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(&block[0], "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);
}
}  // namespace
