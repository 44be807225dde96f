// The list helpers on buffers as the registry hands them over, closed or not.
#include <gtest/gtest.h>

#include <cstring>

#include "netcfg/MultiStringList.h"

namespace {
MultiStringList ListOf(const std::string& bytes) {
    MultiStringList list;
    std::memcpy(list.bytes, bytes.data(), std::min<size_t>(bytes.size(), kMultiStringListSize));
    return list;
}
}  // namespace

TEST(MultiStringListTest, EntriesLengthAndPositions) {
    const MultiStringList two = ListOf(std::string("a\0b\0\0", 5));
    EXPECT_EQ(2u, CountMultiStringEntries(two));
    EXPECT_EQ(4u, MultiStringDataLength(two));
    EXPECT_EQ(std::string("a\0", 2), GetMultiStringEntry(two, 0));
    EXPECT_EQ(std::string("b\0", 2), GetMultiStringEntry(two, 1));

    const MultiStringList empty = ListOf(std::string("\0\0", 2));
    EXPECT_EQ(0u, CountMultiStringEntries(empty));
    EXPECT_EQ(0u, MultiStringDataLength(empty));
    EXPECT_EQ(0u, CountMultiStringEntries(MultiStringList()));

    // An empty entry closes the list: what follows it is not part of it.
    const MultiStringList closedEarly = ListOf(std::string("ab\0\0cd\0\0", 8));
    EXPECT_EQ(1u, CountMultiStringEntries(closedEarly));
    EXPECT_EQ(3u, MultiStringDataLength(closedEarly));
}

TEST(MultiStringListTest, MissingTerminatorBytesFollowsTheLastBytes) {
    const MultiStringList list = ListOf(std::string("ab\0\0", 4));
    EXPECT_EQ(2u, MissingTerminatorBytes(list, 0));
    EXPECT_EQ(2u, MissingTerminatorBytes(list, 2));  // ends in 'b'
    EXPECT_EQ(1u, MissingTerminatorBytes(list, 3));  // "ab\0"
    EXPECT_EQ(0u, MissingTerminatorBytes(list, 4));  // "ab\0\0"
    EXPECT_EQ(1u, MissingTerminatorBytes(ListOf(std::string("\0", 1)), 1));
}

TEST(MultiStringListTest, DataWithoutClosingNulsEndsAtTheBuffer) {
    // A full buffer without a single NUL: one entry whose NUL is the first guard byte.
    const MultiStringList full = ListOf(std::string(kMultiStringListSize, 'x'));
    EXPECT_EQ(1u, CountMultiStringEntries(full));
    EXPECT_EQ(kMultiStringListSize + 1, MultiStringDataLength(full));
    EXPECT_EQ(kMultiStringListSize + 1, GetMultiStringEntry(full, 0).size());
    EXPECT_TRUE(GetMultiStringEntry(full, 1).empty());

    MultiStringList target;
    DWORD position = 0;
    EXPECT_FALSE(AppendMultiStringEntry(target, position, GetMultiStringEntry(full, 0)));
    EXPECT_EQ(0u, position);
    DWORD pastEnd = MultiStringDataLength(full);
    MultiStringList copy = full;
    EXPECT_FALSE(CloseMultiStringList(copy, pastEnd));
}

TEST(MultiStringListTest, AppendingStopsWhereTheClosingNulNoLongerFits) {
    MultiStringList list;
    DWORD position = 0;
    const std::string entry = std::string(kMultiStringListSize - 2, 'e') + '\0';
    ASSERT_TRUE(AppendMultiStringEntry(list, position, entry));
    EXPECT_EQ(kMultiStringListSize - 1, position);
    EXPECT_FALSE(AppendMultiStringEntry(list, position, std::string("f\0", 2)));
    ASSERT_TRUE(CloseMultiStringList(list, position));
    EXPECT_EQ(kMultiStringListSize, position);
    EXPECT_EQ(1u, CountMultiStringEntries(list));

    // An entry that would leave no room for the closing NUL is refused, the list unchanged.
    MultiStringList exact;
    DWORD start = 0;
    EXPECT_FALSE(
        AppendMultiStringEntry(exact, start, std::string(kMultiStringListSize - 1, 'e') + '\0'));
    EXPECT_EQ(0u, start);
    EXPECT_EQ('\0', exact.bytes[0]);
}
