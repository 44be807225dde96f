// Finding the folder part of a path recorded by an installer, in single- and double-byte code
// pages.
#include <gtest/gtest.h>

#include "components/PathText.h"

namespace {
TEST(PathTextTest, LastBackslashOfSingleByteText) {
    EXPECT_EQ(9u, LastBackslash("D:\\VDUU\\2\\SETUP.EXE", 1252));
    EXPECT_EQ(0u, LastBackslash("\\SETUP.EXE", 1252));
    EXPECT_EQ(std::string::npos, LastBackslash("SETUP.EXE", 1252));
    EXPECT_EQ(std::string::npos, LastBackslash("", 1252));
    // 0x83 0x5C is one character in Japanese, two (the second a backslash) in Western text.
    EXPECT_EQ(11u, LastBackslash("D:\\\x83\x5C\x83\x74\x83\x67\\\x83\x5C", 1252));
}

TEST(PathTextTest, TrailByteOfADoubleByteCharacterIsNoBackslash) {
    // "D:\ソフト\ソ": the trail byte of each ソ is 0x5C.
    EXPECT_EQ(9u, LastBackslash("D:\\\x83\x5C\x83\x74\x83\x67\\\x83\x5C", 932));
    EXPECT_EQ(2u, LastBackslash("D:\\\x83\x5C", 932));
    EXPECT_EQ(std::string::npos, LastBackslash("\x83\x5C", 932));
    // A lead byte at the very end has no trail byte to take.
    EXPECT_EQ(2u, LastBackslash("D:\\\x83", 932));
}
}  // namespace
