#include <gtest/gtest.h>

#include "netcfg/AdapterNameMatch.h"
#include "netcfg/MultiStringList.h"
#include "netcfg/NetcfgCases.h"

// Buffers as the registry hands them over, closed or not, read as lists (multistring-lists.txt).
TEST(MultiStringListTest, EntriesLengthAndMissingNuls) {
    for (const auto& row : NetcfgCases("multistring-lists.txt")) {
        MultiStringList list;
        row[0].copy(list.bytes, row[0].size());
        std::string entries;
        for (unsigned position = 0; position <= CountMultiStringEntries(list); ++position)
            entries += "[" + GetMultiStringEntry(list, position) + "]";
        EXPECT_EQ(row[2], entries) << row[0];
        EXPECT_EQ(std::stoul(row[1]), MultiStringDataLength(list)) << row[0];
        EXPECT_EQ(std::stoul(row[3]), MissingTerminatorBytes(list, DWORD(row[0].size()))) << row[0];
    }
}

// Appending and closing change nothing once the closing NULs no longer fit (multistring-steps.txt).
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

// An entry names an adapter by the characters before its NUL, in a code page (adapter-names.txt).
TEST(AdapterNameMatchTest, Cases) {
    for (const auto& row : NetcfgCases("adapter-names.txt"))
        EXPECT_EQ(row[3] == "yes", RefersToAdapter(row[0], row[1], std::stoul(row[2])))
            << row[0] << " / " << row[1] << " in " << row[2];
}
