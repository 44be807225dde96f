// Matching of adapter names in binding entries, also in double-byte code page 932.
#include <gtest/gtest.h>

#include "netcfg/AdapterNameMatch.h"

using namespace std::string_literals;

TEST(AdapterNameMatchTest, Cases) {
    constexpr UINT kJapanese = 932;
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
