// Matching of adapter names in binding entries, also in double-byte code page 932.
#include <gtest/gtest.h>

#include <random>

#include "netcfg/AdapterNameMatch.h"

namespace {
constexpr UINT kJapanese = 932;

std::wstring Wide(const std::string& text, UINT codePage) {
    const int length =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

// Characters of code page 932, among them double-byte ones whose second byte is an ASCII
// letter or digit.
const std::vector<std::string>& Characters() {
    static const std::vector<std::string> all = {
        "A", "1", "E", "0", "\\", "_", "\x83\x41", "\x83\x45", "\x82\xa0", "\x88\x9f", "\x83\x5c"};
    return all;
}
}  // namespace

TEST(AdapterNameMatchTest, SubstringsMatchCaseSensitively) {
    EXPECT_TRUE(RefersToAdapter(std::string("\\Device\\E100B1\0", 15), "E100"));
    EXPECT_TRUE(RefersToAdapter("E100", "E100"));
    EXPECT_FALSE(RefersToAdapter("\\Device\\e100b1", "E100"));
    EXPECT_FALSE(RefersToAdapter("\\Device\\E10", "E100"));
    // Only the text before the entry's NUL counts.
    EXPECT_FALSE(RefersToAdapter(std::string("\\Device\\\0E100", 13), "E100"));
}

TEST(AdapterNameMatchTest, NoMatchStartsInsideADoubleByteCharacter) {
    ASSERT_TRUE(IsDBCSLeadByteEx(kJapanese, 0x83));
    // 0x83 0x41 is one character whose second byte reads as 'A' in a single-byte code page.
    const std::string entry =
        "\\Device\\\x83\x41"
        "1";
    EXPECT_FALSE(RefersToAdapter(entry, "A1", kJapanese));
    EXPECT_TRUE(RefersToAdapter(entry, "A1", 1252));
    EXPECT_TRUE(
        RefersToAdapter("\\Device\\\x83\x41"
                        "A1",
                        "A1", kJapanese));
    EXPECT_TRUE(
        RefersToAdapter("\\Device\\\x83\x41"
                        "1",
                        "\x83\x41", kJapanese));
    // A lead byte that closes the entry stands alone.
    EXPECT_TRUE(RefersToAdapter("X\x83", "\x83", kJapanese));
}

TEST(AdapterNameMatchTest, RandomDoubleByteEntriesAgreeWithWideSearch) {
    std::mt19937 random(932);
    const auto text = [&](int maximum) {
        std::string result;
        const int length = 1 + static_cast<int>(random() % maximum);
        for (int i = 0; i < length; ++i) result += Characters()[random() % Characters().size()];
        return result;
    };
    int matches = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string entry = text(10), adapter = text(3);
        const bool expected =
            Wide(entry, kJapanese).find(Wide(adapter, kJapanese)) != std::wstring::npos;
        ASSERT_EQ(expected, RefersToAdapter(entry, adapter, kJapanese))
            << "entry " << entry << " adapter " << adapter;
        matches += expected;
    }
    EXPECT_GT(matches, 1000);
}
