// Finding the folder part of a path recorded by an installer, in single- and double-byte code
// pages (the cases in lastbackslash.txt and nthbackslash.txt).
#include <gtest/gtest.h>

#include "base/PathText.h"
#include "support/Machine.h"

TEST(PathTextTest, LastBackslashOfSingleAndDoubleByteText) {
    for (const auto& row : CaseTable("base\\lastbackslash.txt")) {
        const std::size_t place = LastBackslash(row[0], std::stoi(row[1]));
        EXPECT_EQ(row[2], place == std::string::npos ? "none" : std::to_string(place)) << row[0];
    }
}

TEST(PathTextTest, NthBackslashOfSingleAndDoubleByteText) {
    for (const auto& row : CaseTable("base\\nthbackslash.txt")) {
        const std::size_t place = NthBackslash(row[0], std::stoi(row[2]), std::stoi(row[1]));
        EXPECT_EQ(row[3], place == std::string::npos ? "none" : std::to_string(place)) << row[0];
    }
}
