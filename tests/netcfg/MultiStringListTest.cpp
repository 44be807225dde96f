// The list helpers on buffers as the registry hands them over, closed or not.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "netcfg/MultiStringList.h"

using namespace std::string_literals;

namespace {
MultiStringList ListOf(const std::string& bytes) {
    MultiStringList list;
    std::memcpy(list.bytes, bytes.data(), std::min<size_t>(bytes.size(), kMultiStringListSize));
    return list;
}
const std::string kFull(kMultiStringListSize, 'x');
}  // namespace

TEST(MultiStringListTest, EntriesAndLength) {
    const struct {
        std::string bytes;
        DWORD length;
        std::vector<std::string> entries;
    } cases[] = {
        {"a\0b\0\0"s, 4, {"a\0"s, "b\0"s}},
        {"\0\0"s, 0, {}},
        {"", 0, {}},
        // An empty entry closes the list: what follows it is not part of it.
        {"ab\0\0cd\0\0"s, 3, {"ab\0"s}},
        // A full buffer without a NUL: one entry whose NUL is the first guard byte.
        {kFull, kMultiStringListSize + 1, {kFull + '\0'}},
    };
    for (const auto& c : cases) {
        const MultiStringList list = ListOf(c.bytes);
        EXPECT_EQ(c.entries.size(), CountMultiStringEntries(list)) << c.bytes;
        EXPECT_EQ(c.length, MultiStringDataLength(list)) << c.bytes;
        for (unsigned position = 0; position <= c.entries.size(); ++position)
            EXPECT_EQ(position < c.entries.size() ? c.entries[position] : "",
                      GetMultiStringEntry(list, position))
                << c.bytes << " entry " << position;
    }
}

TEST(MultiStringListTest, MissingTerminatorBytesFollowsTheLastBytes) {
    const struct {
        std::string bytes;
        DWORD length, missing;
    } cases[] = {
        {"ab\0\0"s, 0, 2}, {"ab\0\0"s, 2, 2}, {"ab\0\0"s, 3, 1}, {"ab\0\0"s, 4, 0}, {"\0"s, 1, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.missing, MissingTerminatorBytes(ListOf(c.bytes), c.length))
            << c.bytes << " length " << c.length;
}

TEST(MultiStringListTest, AppendingAndClosingStopWhereTheClosingNulNoLongerFits) {
    // Steps on one list: an entry to append (or none: close the list) at position.
    const struct {
        DWORD position;
        std::string entry;
        bool done;
        DWORD after;
    } steps[] = {
        {0, std::string(kMultiStringListSize - 1, 'e') + '\0', false, 0},
        {0, kFull + '\0', false, 0},
        {0, std::string(kMultiStringListSize - 2, 'e') + '\0', true, kMultiStringListSize - 1},
        {kMultiStringListSize - 1, "f\0"s, false, kMultiStringListSize - 1},
        {kMultiStringListSize - 1, "", true, kMultiStringListSize},
        {kMultiStringListSize + 1, "", false, kMultiStringListSize + 1},
    };
    MultiStringList list;
    for (const auto& s : steps) {
        DWORD position = s.position;
        EXPECT_EQ(s.done, s.entry.empty() ? CloseMultiStringList(list, position)
                                          : AppendMultiStringEntry(list, position, s.entry))
            << "at " << s.position << " entry of " << s.entry.size();
        EXPECT_EQ(s.after, position) << "at " << s.position << " entry of " << s.entry.size();
        // A refused entry leaves the list as it was.
        EXPECT_TRUE(position >= kMultiStringListSize || list.bytes[position] == '\0');
    }
    EXPECT_EQ(1u, CountMultiStringEntries(list));
    // Two closing NULs do not fit behind data that fills all but one byte.
    MultiStringList open = ListOf(std::string(kMultiStringListSize - 1, 'x'));
    DWORD end = kMultiStringListSize - 1;
    EXPECT_FALSE(CloseMultiStringList(open, end));
}
