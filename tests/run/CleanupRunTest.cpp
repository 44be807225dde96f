// Whole runs of oberin.exe and of CleanupRun on the Wine machine: the log's place and bytes,
// the version gate and the closing network setup.
#include <gtest/gtest.h>

#include <algorithm>

#include "run/CleanupRun.h"
#include "run/LogFile.h"
#include "run/NetworkSetup.h"
#include "run/SystemQueries.h"
#include "support/Machine.h"
#include "support/NetworkSetupStandIn.h"
#include "sysaccess/FileOperations.h"

namespace {
const char kNotSupportedLog[] = "Oberin is not supported on this version of Windows.\r\n";

std::string CleanLog() {
    return ReadWholeFile(TestsDir() + "\\machines\\clean\\expected.log");
}

std::string SystemLogPath() {
    return SystemDirectory() + "oberin.log";
}

class CleanupRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileA(SystemLogPath().c_str());
        RemoveTree(SystemLogPath());
        work_ = FreshFolder("C:\\work");
    }
    void TearDown() override {
        RemoveTree(SystemLogPath());
        SetCurrentDirectoryA("C:\\");
    }
    std::string work_;
};

TEST_F(CleanupRunTest, SecondRunRecreatesTheLog) {
    WriteWholeFile(work_ + "\\oberin.log", std::string(20000, 'x'));
    ASSERT_TRUE(SetCurrentDirectoryA(work_.c_str()));
    EXPECT_TRUE(CleanupRun().Run(true));
    EXPECT_TRUE(CleanupRun().Run(true));
    EXPECT_EQ(CleanLog(), ReadWholeFile(work_ + "\\oberin.log"));
}

TEST_F(CleanupRunTest, LogAtDriveRootHasNoDoubleBackslash) {
    EXPECT_EQ("C:\\oberin.log", LogPathIn("C:\\"));
    EXPECT_EQ("C:\\tools\\oberin.log", LogPathIn("C:\\tools"));
    DeleteFileA("C:\\oberin.log");
    ASSERT_EQ(0, RunOberin("s", "C:\\"));
    EXPECT_EQ(CleanLog(), ReadWholeFile("C:\\oberin.log"));
    DeleteFileA("C:\\oberin.log");
}

TEST_F(CleanupRunTest, UnwritableCurrentDirectorySendsTheLogToTheSystemDirectory) {
    // A folder named oberin.log cannot be opened as the log file.
    ASSERT_TRUE(CreateDirectoryA((work_ + "\\oberin.log").c_str(), nullptr));
    ASSERT_EQ(0, RunOberin("Silent", work_));
    EXPECT_EQ(CleanLog(), ReadWholeFile(SystemLogPath()));
}

TEST_F(CleanupRunTest, NoPlaceForTheLogEndsTheSilentRunWithoutTrace) {
    ASSERT_TRUE(CreateDirectoryA((work_ + "\\oberin.log").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(SystemLogPath().c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(work_.c_str()));
    EXPECT_FALSE(CleanupRun().Run(true));
    EXPECT_FALSE(TheLogFile().IsOpen());
    EXPECT_EQ(MachineState{"dir " + work_ + "\\oberin.log"}, Snapshot({}, {work_}));
}

// Windows NT 3.51 passes the gate: the whole-machine run under it writes the sample log.
TEST_F(CleanupRunTest, VersionGateRefusesWindows2000) {
    ASSERT_TRUE(SetWindowsVersion("win2k"));
    EXPECT_EQ(0, RunOberin("s", work_));
    EXPECT_EQ(kNotSupportedLog, ReadWholeFile(work_ + "\\oberin.log"));
    ASSERT_TRUE(SetWindowsVersion("nt40"));
}

class NetworkSetupTest : public CleanupRunTest {
  protected:
    void SetUp() override {
        CleanupRunTest::SetUp();
        ncpa_ = SystemDirectory() + "NCPA.CPL";
        calls_ = NetworkSetupRecord();
        ASSERT_TRUE(InstallNetworkSetupStandIn());
    }
    void TearDown() override {
        RemoveNetworkSetupStandIn();
        NetworkSetupPending = false;
        CleanupRunTest::TearDown();
    }
    std::string ncpa_, calls_;
};

TEST_F(NetworkSetupTest, SilentRunCallsSetupOwnedByHiddenWindowAfterClosingTheLog) {
    ASSERT_TRUE(SetCurrentDirectoryA(work_.c_str()));
    NetworkSetupPending = true;
    EXPECT_TRUE(CleanupRun().Run(true));
    const std::string log = ReadWholeFile("oberin.log");
    ASSERT_EQ(CleanLog(), log);

    const std::string calls = ReadWholeFile(calls_);
    // 3|<owner in lower-case hex>|NCPA|/t STF_INSTALL_MODE = EXPRESS|<owner>|<log>|<slot>
    const std::size_t first = calls.find('|'), second = calls.find('|', first + 1);
    ASSERT_NE(std::string::npos, second) << calls;
    const std::string owner = calls.substr(first + 1, second - first - 1);
    EXPECT_EQ("3", calls.substr(0, first));
    EXPECT_EQ(std::string::npos, owner.find_first_not_of("0123456789abcdef")) << owner;
    EXPECT_NE('0', owner[0]);
    // The system enlarges a top-level window asked for at 1 by 1 to its smallest size, so the
    // owner is recognised by its class, title, place and visibility.
    EXPECT_EQ("NCPA|/t STF_INSTALL_MODE = EXPRESS|window=Static|Oberin|at 0,0|hidden|log=" +
                  std::to_string(log.size()) + "|answer=slot\r\n",
              calls.substr(second + 1));
    // The hidden window is gone with the run.
    EXPECT_EQ(nullptr, FindWindowA("Static", "Oberin"));
}

TEST_F(NetworkSetupTest, PendingSetupRunsAgainInEveryLaterRun) {
    ASSERT_TRUE(SetCurrentDirectoryA(work_.c_str()));
    NetworkSetupPending = true;
    CleanupRun().Run(true);
    CleanupRun().Run(true);
    const std::string calls = ReadWholeFile(calls_);
    EXPECT_EQ(2, std::count(calls.begin(), calls.end(), '\n'));
}

TEST_F(NetworkSetupTest, NothingPendingNoSetup) {
    ASSERT_TRUE(SetCurrentDirectoryA(work_.c_str()));
    EXPECT_TRUE(CleanupRun().Run(true));
    EXPECT_FALSE(FileExists(calls_));
}

TEST_F(NetworkSetupTest, MissingModuleOrEntryPointIsSilent) {
    DeleteFileA(ncpa_.c_str());
    RunNetworkSetup(nullptr);
    // A module without CPlSetup: any system library will do.
    ASSERT_TRUE(CopyFileA((SystemDirectory() + "version.dll").c_str(), ncpa_.c_str(), FALSE));
    RunNetworkSetup(nullptr);
    EXPECT_FALSE(FileExists(calls_));
}
}  // namespace
