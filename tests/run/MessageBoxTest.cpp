// The two message boxes of a run: shown in interactive runs only, with their exact texts.
#include <gtest/gtest.h>

#include "app/CleanupApp.h"
#include "run/CleanupRun.h"
#include "run/SystemQueries.h"
#include "support/Machine.h"
#include "support/ImportPatch.h"
#include "support/MessageBoxWatch.h"

namespace {
class MessageBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        work_ = FreshFolder("C:\\boxes");
        ASSERT_TRUE(SetCurrentDirectoryA(work_.c_str()));
    }
    void TearDown() override {
        SetCurrentDirectoryA("C:\\");
        RemoveTree(SystemDirectory() + "oberin.log");
        RemoveTree(work_);
    }
    // Runs a cleanup in this process and returns its result and the boxes it showed.
    static bool RunWatched(bool silent, std::vector<std::string>* boxes) {
        MessageBoxWatch watch(CleanupApp::Name());
        const bool result = CleanupRun(nullptr, CleanupApp::Name()).Run(silent);
        Sleep(200);  // a box of a silent run would have shown by now
        *boxes = watch.Stop();
        return result;
    }
    std::string work_;
};

TEST_F(MessageBoxTest, LogThatCannotBeOpenedAnywhere) {
    ASSERT_TRUE(CreateDirectoryA((work_ + "\\oberin.log").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((SystemDirectory() + "oberin.log").c_str(), nullptr));
    std::vector<std::string> boxes;
    EXPECT_FALSE(RunWatched(false, &boxes));
    EXPECT_EQ(std::vector<std::string>{"Failed to open Log File:  Application exiting."}, boxes);
    EXPECT_FALSE(RunWatched(true, &boxes));
    EXPECT_TRUE(boxes.empty());
}

// Windows 2000 as GetVersion reports it: version 5.0, build 2195, Windows NT platform.
DWORD WINAPI Windows2000Version() {
    return 0x08930005;
}

TEST_F(MessageBoxTest, UnsupportedVersion) {
    ImportPatch version("kernel32.dll", "GetVersion", reinterpret_cast<void*>(Windows2000Version));
    ASSERT_TRUE(version.Active());
    std::vector<std::string> boxes;
    EXPECT_FALSE(RunWatched(false, &boxes));
    EXPECT_EQ(std::vector<std::string>{"Oberin is not supported on this version of Windows."},
              boxes);
    EXPECT_EQ("Oberin is not supported on this version of Windows.\r\n",
              ReadWholeFile(work_ + "\\oberin.log"));
    EXPECT_FALSE(RunWatched(true, &boxes));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MessageBoxTest, SuccessfulRunShowsNoBox) {
    std::vector<std::string> boxes;
    EXPECT_TRUE(RunWatched(false, &boxes));
    EXPECT_TRUE(boxes.empty());
}
}  // namespace
