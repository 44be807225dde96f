// Matching of adapter names in binding entries, also in double-byte code page 932.
#include <gtest/gtest.h>

#include <random>

#include "netcfg/AdapterNameMatch.h"

using namespace std::string_literals;

namespace {
constexpr UINT kJapanese = 932;

std::wstring Wide(const std::string& text) {
    const int length =
        MultiByteToWideChar(kJapanese, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(kJapanese, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}
}  // namespace

TEST(AdapterNameMatchTest, Cases) {
    ASSERT_TRUE(IsDBCSLeadByteEx(kJapanese, 0x83));
    const struct {
        std::string entry, adapter;
        UINT codePage;
        bool refers;
    } cases[] = {
        {"\\Device\\E100B1\0"s, "E100", 1252, true},
        {"E100", "E100", 1252, true},
        {"\\Device\\e100b1", "E100", 1252, false},
        {"\\Device\\E10", "E100", 1252, false},
        {"E100", "", 1252, false},
        // Only the text before the entry's NUL counts.
        {"\\Device\\\0E100"s, "E100", 1252, false},
        // 0x83 0x41 is one character whose second byte reads as 'A' in a single-byte code page.
        {"\\Device\\\203A1", "A1", kJapanese, false},
        {"\\Device\\\203A1", "A1", 1252, true},
        {"\\Device\\\203AA1", "A1", kJapanese, true},
        {"\\Device\\\203A1", "\x83\x41", kJapanese, true},
        // A lead byte that closes the entry stands alone.
        {"X\x83", "\x83", kJapanese, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.refers, RefersToAdapter(c.entry, c.adapter, c.codePage))
            << c.entry << " / " << c.adapter << " in " << c.codePage;
}

TEST(AdapterNameMatchTest, RandomDoubleByteEntriesAgreeWithWideSearch) {
    // Among them double-byte characters whose second byte is an ASCII letter or digit.
    const char* const characters[] = {
        "A", "1", "E", "0", "\\", "_", "\x83\x41", "\x83\x45", "\x82\xa0", "\x88\x9f", "\x83\x5c"};
    std::mt19937 random(932);
    const auto text = [&](int maximum) {
        std::string result;
        for (int i = 0, length = 1 + random() % maximum; i < length; ++i)
            result += characters[random() % std::size(characters)];
        return result;
    };
    int matches = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string entry = text(10), adapter = text(3);
        const bool expected = Wide(entry).find(Wide(adapter)) != std::wstring::npos;
        ASSERT_EQ(expected, RefersToAdapter(entry, adapter, kJapanese))
            << entry << " / " << adapter;
        matches += expected;
    }
    EXPECT_GT(matches, 1000);
}
