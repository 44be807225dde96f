// Whole silent runs of oberin.exe on whole Windows NT 4.0 servers: a clean one, then the sample
// server with all 18 products, run twice. Each run is compared with the golden log of its
// machine and, item by item, with what the catalog removes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "support/NetworkSetupStandIn.h"
#include "support/RestartList.h"
#include "support/ServerCatalog.h"

namespace {
const char kWork[] = "C:\\server";

// The files of the work folder, which held only oberin.exe's current directory.
std::vector<std::string> WorkFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(kWork) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (found.cFileName[0] != '.') names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::vector<std::string> Joined(std::vector<std::string> all,
                                const std::vector<std::string>& more) {
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

// The restart-time deletions a run asks for: the main files in use, in catalog order. Files
// that are not there are not scheduled.
std::vector<std::string> RunPending() {
    return HeldMainFiles();
}

std::set<std::string> PendingLines(const std::vector<std::string>& paths) {
    std::set<std::string> lines;
    for (const std::string& path : paths) lines.insert("pending " + path);
    return lines;
}

TEST(CleanServerTest, NothingInstalledNothingTouched) {
    FreshFolder(kWork);
    const MachineState before = ServerState();
    EXPECT_EQ(0, RunOberin("s", kWork));
    const ServerChanges changes = ChangesOf(before, ServerState());
    EXPECT_EQ(LogLines(Golden("clean")),
              LogLines(ReadWholeFile(std::string(kWork) + "\\oberin.log")));
    EXPECT_EQ(std::set<std::string>{}, (changes.removed));
    EXPECT_EQ(std::set<std::string>{}, (changes.added));
    EXPECT_EQ(std::set<std::string>{}, (changes.rewritten));
    EXPECT_EQ(std::vector<std::string>{}, PendingDeletions());
    EXPECT_EQ(std::vector<std::string>{"oberin.log"}, WorkFiles());
}

// Where the sample server's uninstallers record how they were called.
const char kUninstallers[] = "C:\\uninstallers.txt";

// The sample server is laid out once and run twice; its held files stay held throughout, as a
// running service or driver would keep them until the restart.
class SampleServerTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        InstallNetworkSetupStandIn();
        DeleteFileA(kUninstallers);
        layout_ = new MachineLayout("sample-server");
        FreshFolder(kWork);
        before_ = new MachineState(ServerState());
        RunOberin("s", kWork);
        after_ = new MachineState(ServerState());
        log_ = new std::string(ReadWholeFile(std::string(kWork) + "\\oberin.log"));
        calls_ = new std::string(NetworkSetupCalls());
        firstPending_ = new std::vector<std::string>(PendingDeletions());
        workFiles_ = new std::vector<std::string>(WorkFiles());
        uninstallers_ = new std::string(ReadWholeFile(kUninstallers));
        RunOberin("s", kWork);
        again_ = new MachineState(ServerState());
        againLog_ = new std::string(ReadWholeFile(std::string(kWork) + "\\oberin.log"));
    }
    static void TearDownTestSuite() { delete layout_; }

    static MachineLayout* layout_;
    static MachineState *before_, *after_, *again_;
    static std::string *log_, *againLog_, *calls_, *uninstallers_;
    static std::vector<std::string>*firstPending_, *workFiles_;
};
MachineLayout* SampleServerTest::layout_;
MachineState *SampleServerTest::before_, *SampleServerTest::after_, *SampleServerTest::again_;
std::string *SampleServerTest::log_, *SampleServerTest::againLog_, *SampleServerTest::calls_,
    *SampleServerTest::uninstallers_;
std::vector<std::string>*SampleServerTest::firstPending_, *SampleServerTest::workFiles_;

TEST_F(SampleServerTest, FixtureHoldsEveryCatalogItem) {
    EXPECT_EQ(std::vector<std::string>{}, PlacesMissing(*before_, SampleServerRemovals()));
    EXPECT_EQ(std::vector<std::string>{}, PlacesMissing(*before_, SampleServerRewrites()));
    for (const std::string& held : HeldMainFiles())
        EXPECT_FALSE(DeleteFileA(held.c_str())) << held << " is not held";
}

TEST_F(SampleServerTest, FirstRunWritesTheGoldenLog) {
    EXPECT_EQ(LogLines(Golden("sample-server")), LogLines(*log_));
    EXPECT_EQ(Golden("sample-server"), *log_);
}

TEST_F(SampleServerTest, FirstRunRunsEachRegisteredUninstallerUnattended) {
    const std::string program = BinDir() + "\\testuninstaller.exe /record C:\\uninstallers.txt";
    EXPECT_EQ(program +
                  " /delete \"C:\\Program Files\\Velmora\\VDUU\\2.10\\upkeep.dat\" /delete "
                  "\"C:\\Program Files\\Velmora\\VDUU\\2.10\\Logs\\uninst.log\" "
                  "-fC:\\Program Files\\Velmora\\VDUU\\2.10\\Logs\\uninst.log -v -a\r\n" +
                  program +
                  " /delete \"C:\\Program Files\\Velmora\\VDUU\\2.20\" /unregister "
                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VDUU_2.20 -v -a\r\n",
              *uninstallers_);
}

TEST_F(SampleServerTest, FirstRunRemovesExactlyTheCatalogsItems) {
    const ServerChanges changes = ChangesOf(*before_, *after_);
    const auto mismatch = Mismatch(PathsAt(*before_, SampleServerRemovals()), (changes.removed));
    EXPECT_EQ(std::set<std::string>{}, mismatch.first) << "left in place";
    EXPECT_EQ(std::set<std::string>{}, mismatch.second) << "removed beside the catalog";
    std::set<std::string> rewritten = PathsAt(*before_, SampleServerRewrites());
    const std::set<std::string> restartList = RestartList(*before_);
    rewritten.insert(restartList.begin(), restartList.end());
    EXPECT_EQ(rewritten, (changes.rewritten));
    // The main files in use stay until the restart, with the folders that hold them.
    for (const std::string& held : HeldMainFiles())
        EXPECT_TRUE(after_->count("file " + held)) << held;
}

TEST_F(SampleServerTest, SilentRunLeavesOnlyTheLogAndTheRestartDeletions) {
    const ServerChanges changes = ChangesOf(*before_, *after_);
    // The clean server's run left the restart list empty: this run starts it.
    std::set<std::string> expected = PendingLines(RunPending());
    const std::set<std::string> restartList = RestartList(*after_);
    expected.insert(restartList.begin(), restartList.end());
    const std::set<std::string> created = PathsAt(*after_, SampleServerCreations());
    expected.insert(created.begin(), created.end());
    expected.insert("file " + NetworkSetupRecord());  // the network setup stand-in's record
    EXPECT_EQ(expected, (changes.added));
    EXPECT_EQ(RunPending(), *firstPending_);
    EXPECT_EQ(std::vector<std::string>{"oberin.log"}, *workFiles_);
    // The network setup ran once, after the log was closed, owned by the hidden window.
    EXPECT_EQ(1, std::count(calls_->begin(), calls_->end(), '\n')) << *calls_;
    EXPECT_NE(std::string::npos,
              calls_->find("|NCPA|/t STF_INSTALL_MODE = EXPRESS|window=Static|Oberin|"))
        << *calls_;
}

TEST_F(SampleServerTest, SecondRunFindsOnlyWhatWaitsForTheRestart) {
    // Still detected: only the products whose main files are in use until the restart. Each is
    // removed the same way again; no network product is left to need the network setup.
    EXPECT_EQ(LogLines(Golden("sample-server", "expected-again.log")), LogLines(*againLog_));
    EXPECT_EQ(*calls_, NetworkSetupCalls());
    const ServerChanges changes = ChangesOf(*after_, *again_);
    EXPECT_EQ(std::set<std::string>{}, (changes.removed));
    EXPECT_EQ(RestartList(*again_), (changes.rewritten));
    // The main files in use are scheduled once more; nothing else is.
    EXPECT_EQ(std::set<std::string>{}, (changes.added));
    EXPECT_EQ(Joined(RunPending(), RunPending()), PendingDeletions());
}
}  // namespace
