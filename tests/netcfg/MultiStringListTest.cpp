// The list helpers on buffers as the registry hands them over, closed or not.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "netcfg/MultiStringList.h"

using namespace std::string_literals;

TEST(MultiStringListTest, EntriesLengthAndMissingNuls) {
    const std::string full(kMultiStringListSize, 'x');
    const struct {
        std::string bytes;
        DWORD length;
        std::vector<std::string> entries;
        DWORD missing;  // NULs that must follow all of bytes
    } cases[] = {
        {"a\0b\0\0"s, 4, {"a\0"s, "b\0"s}, 0},
        {"\0\0"s, 0, {}, 0},
        {"\0"s, 0, {}, 1},
        {"", 0, {}, 2},
        {"ab", 3, {"ab\0"s}, 2},
        {"ab\0"s, 3, {"ab\0"s}, 1},
        // An empty entry closes the list: what follows it is not part of it.
        {"ab\0\0cd\0\0"s, 3, {"ab\0"s}, 0},
        // A full buffer without a NUL: one entry whose NUL is the first guard byte.
        {full, kMultiStringListSize + 1, {full + '\0'}, 2},
    };
    for (const auto& c : cases) {
        MultiStringList list;
        std::memcpy(list.bytes, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(c.entries.size(), CountMultiStringEntries(list)) << c.bytes;
        EXPECT_EQ(c.length, MultiStringDataLength(list)) << c.bytes;
        EXPECT_EQ(c.missing, MissingTerminatorBytes(list, DWORD(c.bytes.size()))) << c.bytes;
        for (unsigned position = 0; position <= c.entries.size(); ++position)
            EXPECT_EQ(position < c.entries.size() ? c.entries[position] : "",
                      GetMultiStringEntry(list, position))
                << c.bytes << " entry " << position;
    }
}

TEST(MultiStringListTest, AppendingAndClosingStopWhereTheClosingNulNoLongerFits) {
    // Steps on one list: an entry to append (or none: close the list) at position.
    const DWORD size = kMultiStringListSize;
    const struct {
        DWORD position;
        std::string entry;
        bool done;
        DWORD after;
    } steps[] = {
        {0, std::string(size - 1, 'e') + '\0', false, 0},
        {0, std::string(size, 'e') + '\0', false, 0},
        {0, std::string(size - 1, 'e'), true, size - 1},
        {size - 1, "", false, size - 1},  // room for one of the two closing NULs only
        {0, std::string(size - 2, 'e') + '\0', true, size - 1},
        {size - 1, "f\0"s, false, size - 1},
        {size - 1, "", true, size},
        {size + 1, "", false, size + 1},
    };
    MultiStringList list;
    for (const auto& s : steps) {
        DWORD position = s.position;
        EXPECT_EQ(s.done, s.entry.empty() ? CloseMultiStringList(list, position)
                                          : AppendMultiStringEntry(list, position, s.entry))
            << "at " << s.position << " entry of " << s.entry.size();
        EXPECT_EQ(s.after, position) << "at " << s.position << " entry of " << s.entry.size();
        // A refused entry leaves the list as it was.
        EXPECT_TRUE(position >= size || list.bytes[position] == '\0');
    }
    EXPECT_EQ(1u, CountMultiStringEntries(list));
}
