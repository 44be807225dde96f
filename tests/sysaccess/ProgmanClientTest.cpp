// Command texts handed to DDE, each with its NUL ("|"): Wine's shell ignores the common flag.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include "support/ImportPatch.h"
#include "sysaccess/ProgmanClient.h"

namespace {
std::string sent;
HDDEDATA WINAPI Refused(DWORD, LPBYTE data, DWORD size, DWORD, HSZ, UINT, UINT) {
    sent += std::string(reinterpret_cast<char*>(data), size - 1) + (data[size - 1] ? "?" : "|");
    return nullptr;
}

TEST(ProgmanClientTest, CommandTextsCarryTheCommonFlagAndStopAtAFailedGroup) {
    ImportPatch patch("user32.dll", "DdeCreateDataHandle", reinterpret_cast<void*>(Refused));
    const std::string group(300, 'g');
    ProgmanCreateGroup(group, true);
    ProgmanDeleteItem(group, "Clock", false);
    EXPECT_EQ("[CreateGroup(" + group + ",1)]|[CreateGroup(" + group + ",0)]|", sent);
}
}  // namespace
