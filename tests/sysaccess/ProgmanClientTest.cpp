// Command texts handed to DDE (the cases in progman.txt): Wine's shell ignores the common flag.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include "support/ImportPatch.h"
#include "support/Machine.h"
#include "sysaccess/ProgmanClient.h"

static std::string sent;
static HDDEDATA WINAPI Refused(DWORD, LPBYTE data, DWORD size, DWORD, HSZ, UINT, UINT) {
    sent += std::string(reinterpret_cast<char*>(data), size - 1) + (data[size - 1] ? "?" : "|");
    return nullptr;
}

TEST(ProgmanClientTest, CommandTextsCarryTheCommonFlagAndStopAtAFailedGroup) {
    ImportPatch patch("user32.dll", "DdeCreateDataHandle", reinterpret_cast<void*>(Refused));
    for (const auto& row : CaseTable("sysaccess\\progman.txt")) {
        sent.clear();
        ProgmanConversation progman;
        if (row[0] == "create") progman.CreateGroup(row[1], row[3] == "common");
        if (row[0] == "deleteitem") progman.DeleteItem(row[1], row[2], row[3] == "common");
        if (row[0] == "deletegroup") progman.DeleteGroup(row[1]);
        EXPECT_EQ(row[4], sent) << row[0];
    }
}
