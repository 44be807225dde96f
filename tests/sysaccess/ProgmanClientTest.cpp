// The Program Manager client without a display: there is no DDE server to talk to.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include <string>
#include <vector>

#include "support/ImportPatch.h"
#include "sysaccess/ProgmanClient.h"

namespace {
// Every command text handed to DDE while the patch lives (passed through to the platform).
std::vector<std::string> sent;
ImportPatch* createPatch = nullptr;

HDDEDATA WINAPI RecordedData(DWORD instance, LPBYTE data, DWORD size, DWORD offset, HSZ item,
                             UINT format, UINT flags) {
    sent.emplace_back(reinterpret_cast<const char*>(data), size);
    return createPatch->Original<decltype(&DdeCreateDataHandle)>()(instance, data, size, offset,
                                                                   item, format, flags);
}

std::string WithNul(const std::string& text) {
    return text + std::string(1, '\0');
}

class ProgmanClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(patch_.Active());
        createPatch = &patch_;
        sent.clear();
    }
    ImportPatch patch_{"user32.dll", "DdeCreateDataHandle", reinterpret_cast<void*>(RecordedData)};
};

TEST_F(ProgmanClientTest, WithoutProgramManagerEveryCommandFailsAndNothingFollows) {
    ProgmanConnect();
    EXPECT_FALSE(ProgmanCreateGroup("Velmora Products and Services", true));
    EXPECT_FALSE(ProgmanCreateGroup("Velmora Products and Services", false));
    ProgmanDeleteItem("Velmora Products and Services", "Disk Array Setup", true);
    ProgmanDeleteGroup("Velmora Products and Services");
    EXPECT_FALSE(ProgmanExecute("[ShowGroup(Main,1)]"));
    ProgmanDisconnect();
    // Each text goes with its closing NUL; no DeleteItem or DeleteGroup follows a failed
    // activation of the group.
    const std::vector<std::string> expected = {
        WithNul("[CreateGroup(Velmora Products and Services,1)]"),
        WithNul("[CreateGroup(Velmora Products and Services,0)]"),
        WithNul("[CreateGroup(Velmora Products and Services,1)]"),
        WithNul("[CreateGroup(Velmora Products and Services,0)]"),
        WithNul("[ShowGroup(Main,1)]"),
    };
    EXPECT_EQ(expected, sent);
}

TEST_F(ProgmanClientTest, CommandsWithoutAConnectionFail) {
    EXPECT_FALSE(ProgmanExecute("[CreateGroup(Main,0)]"));
    ProgmanDeleteItem("Main", "Clock", false);
    EXPECT_TRUE(sent.size() <= 2u);
    for (const std::string& text : sent) EXPECT_EQ(0u, text.find("[CreateGroup(Main,0)]"));
}

TEST_F(ProgmanClientTest, LongNamesAreSentWhole) {
    ProgmanConnect();
    const std::string group(300, 'g');
    EXPECT_FALSE(ProgmanCreateGroup(group, false));
    ProgmanDisconnect();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(WithNul("[CreateGroup(" + group + ",0)]"), sent[0]);
}
}  // namespace
