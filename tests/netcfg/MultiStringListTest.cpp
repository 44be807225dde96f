// The list helpers on buffers (the cases in multistring-lists.txt and multistring-steps.txt).
#include <gtest/gtest.h>

#include <cstring>

#include "netcfg/MultiStringList.h"
#include "netcfg/NetcfgCases.h"

TEST(MultiStringListTest, EntriesLengthAndMissingNuls) {
    for (const auto& row : NetcfgCases("multistring-lists.txt")) {
        MultiStringList list;
        std::memcpy(list.bytes, row[0].data(), row[0].size());
        std::string entries;
        for (unsigned position = 0; position < CountMultiStringEntries(list); ++position)
            entries += (position ? " " : "") + GetMultiStringEntry(list, position);
        EXPECT_EQ(row[2], entries) << row[0];
        EXPECT_EQ("", GetMultiStringEntry(list, CountMultiStringEntries(list))) << row[0];
        EXPECT_EQ(std::stoul(row[1]), MultiStringDataLength(list)) << row[0];
        EXPECT_EQ(std::stoul(row[3]), MissingTerminatorBytes(list, DWORD(row[0].size()))) << row[0];
    }
}

TEST(MultiStringListTest, AppendingAndClosingStopWhereTheClosingNulNoLongerFits) {
    MultiStringList list;
    for (const auto& row : NetcfgCases("multistring-steps.txt")) {
        DWORD position = std::stoul(row[0]);
        EXPECT_EQ(row[2] == "yes", row[1].empty() ? CloseMultiStringList(list, position)
                                                  : AppendMultiStringEntry(list, position, row[1]))
            << "at " << row[0] << " entry of " << row[1].size();
        EXPECT_EQ(std::stoul(row[3]), position) << "at " << row[0] << " entry of " << row[1].size();
        EXPECT_TRUE(position >= kMultiStringListSize || list.bytes[position] == '\0');
    }
    EXPECT_EQ(1u, CountMultiStringEntries(list));
}
