// The command texts handed to DDE (Wine's shell ignores the common-group flag).
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include <string>

#include "support/ImportPatch.h"
#include "sysaccess/ProgmanClient.h"

namespace {
std::string sent;
HDDEDATA WINAPI RecordedData(DWORD, LPBYTE data, DWORD size, DWORD, HSZ, UINT, UINT) {
    sent += std::string(reinterpret_cast<const char*>(data), size) + "|";
    return nullptr;
}

TEST(ProgmanClientTest, CommandTextsCarryTheCommonFlagAndWholeNames) {
    ImportPatch patch("user32.dll", "DdeCreateDataHandle", reinterpret_cast<void*>(RecordedData));
    ASSERT_TRUE(patch.Active());
    ProgmanCreateGroup("Velmora Tools", true);
    ProgmanDeleteItem("Velmora Tools", "Clock", false);  // no group: nothing follows
    ProgmanCreateGroup(std::string(300, 'g'), false);
    EXPECT_EQ(
        std::string("[CreateGroup(Velmora Tools,1)]\0|[CreateGroup(Velmora Tools,0)]\0|", 64) +
            "[CreateGroup(" + std::string(300, 'g') + ",0)]" + '\0' + "|",
        sent);
}
}  // namespace
