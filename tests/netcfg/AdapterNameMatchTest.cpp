// Matching of adapter names in binding entries (the cases in adapter-names.txt).
#include <gtest/gtest.h>

#include "netcfg/AdapterNameMatch.h"
#include "netcfg/NetcfgCases.h"

TEST(AdapterNameMatchTest, Cases) {
    for (const auto& row : NetcfgCases("adapter-names.txt"))
        EXPECT_EQ(row[3] == "yes", RefersToAdapter(row[0], row[1], std::stoul(row[2])))
            << row[0] << " / " << row[1] << " in " << row[2];
}
