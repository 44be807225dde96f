// The deployment upkeep utility: its files, the installer's leftovers, every installation's
// uninstaller run and waited for, and its shortcuts; everything beside them stays.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>
#include <shlobj.h>

#include "components/DeploymentUpkeepUtility.h"
#include "support/SnapshotPlaces.h"
#include "run/LogFile.h"
#include "support/Machine.h"
#include "support/RestartList.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kRecord[] = "C:\\vduu-record.txt";
const char kLog[] = "C:\\vduu-oberin.log";
const char kGroup[] = "\\Velmora Products and Services";
const char kAdministratorPrograms[] = "C:\\windows\\Profiles\\Administrator\\Start Menu\\Programs";
const char kOperatorPrograms[] = "C:\\windows\\Profiles\\Operator\\Start Menu\\Programs";
const char kCommonPrograms[] = "C:\\windows\\Profiles\\All Users\\Start Menu\\Programs";
const char* const kEntries[] = {
    "VDUU_A", "VDUU_B", "VDUU_C", "VDUU_D", "vduu_lower", "VDUU_Other", "Velmora Upkeep Helper"};

std::vector<std::string> Folders() {
    return {"%WINDOWS%", "C:\\VDUU", "C:\\VDUUsrc", "C:\\setup"};
}

std::string Key(const std::string& path) {
    return "HKLM\\" + path;
}

std::vector<std::string> FilePlaces() {
    std::vector<std::string> places;
    for (const char* name : {"upk.exe", "upsc.exe", "up_fe.dll", "upio32.dll"})
        places.push_back(ExpandMachinePath("%SYSTEM%\\") + name);
    for (const char* name :
         {"setup.log", "DATA.Z", "DDELINK.DLL", "SETUP.EXE", "SETUP.INS", "SETUP.ISS", "SETUP.PKG",
          "_INST32I.EX_", "_ISDEL.EXE", "_SETUP.DLL", "_SETUP.LIB"})
        places.push_back(std::string("C:\\VDUUsrc\\disk1\\setup\\") + name);
    return places;
}

std::vector<std::string> UninstallPlaces() {
    // A's uninstaller took its log, its log folder then went; B's log keeps its folder.
    return {"C:\\VDUU\\A\\Logs",        "C:\\VDUU\\C\\data",        Key(kUninstall) + "VDUU_A",
            Key(kUninstall) + "VDUU_B", Key(kUninstall) + "VDUU_C", Key(kUninstall) + "VDUU_D"};
}

std::vector<std::string> ShortcutPlaces() {
    const std::string common = std::string(kCommonPrograms) + kGroup;
    return {common + "\\Velmora Deployment Upkeep Utility.lnk",
            common + "\\Service Partition Refresh Utility.lnk",
            std::string(kAdministratorPrograms) + kGroup, std::string(kOperatorPrograms) + kGroup};
}

std::vector<std::string> Joined(std::vector<std::string> all,
                                const std::vector<std::string>& more) {
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

// The command lines the uninstallers of A, B and C were given, in the registry's order.
std::string ExpectedRecord() {
    std::string record;
    for (const char* name : {"VDUU_A", "VDUU_B", "VDUU_C"}) {
        // Read back from the fixture, which the run has changed by now.
        const std::string reg =
            ReadWholeFile(TestsDir() + "\\machines\\upkeep-utility\\registry.reg");
        const std::string header = std::string("\\Uninstall\\") + name + "]";
        const std::size_t at = reg.find("\"UninstallString\"=\"", reg.find(header)) + 19;
        std::string command = reg.substr(at, reg.find("\"\r\n", at) - at);
        for (std::size_t slash = command.find("\\\\"); slash != std::string::npos;
             slash = command.find("\\\\", slash + 1))
            command.erase(slash, 1);
        record += command + " -v -a\r\n";
    }
    return record;
}

// True once Program Manager's DDE service takes a conversation.
bool ProgramManagerAnswers() {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, nullptr, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
    HSZ name = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, name, name, nullptr);
    if (conversation) DdeDisconnect(conversation);
    DdeFreeStringHandle(instance, name);
    DdeUninitialize(instance);
    return conversation != nullptr;
}

class DeploymentUpkeepUtilityTest : public testing::Test {
  protected:
    void SetUp() override {
        // A source without a folder would point at the root of the current drive.
        GetCurrentDirectoryA(sizeof startDirectory_, startDirectory_);
        SetCurrentDirectoryA("C:\\");
        layout_ = std::make_unique<MachineLayout>("upkeep-utility");
        for (const char* installation : {"A", "B", "C", "X"}) {
            const std::string folder = std::string("C:\\VDUU\\") + installation;
            CreateDirectoryA(folder.c_str(), nullptr);
            CopyFileA((BinDir() + "\\testuninstaller.exe").c_str(),
                      (folder + "\\uninst.exe").c_str(), FALSE);
        }
        TheLogFile().Open(kLog);
    }

    void TearDown() override {
        TheLogFile().Close();
        layout_.reset();
        SetCurrentDirectoryA(startDirectory_);
        for (const char* folder : {"C:\\VDUU", "C:\\VDUUsrc", "C:\\setup", "C:\\windows\\Profiles"})
            RemoveTree(folder);
        RemoveTree(std::string(kCommonPrograms) + kGroup);
        for (const char* name : {"upk.exe", "upsc.exe", "up_fe.dll", "upio32.dll", "upk.hlp"})
            RemoveTree(ExpandMachinePath("%SYSTEM%\\") + name);
        DeleteFileA(kRecord);
        DeleteFileA(kLog);
        for (const char* entry : kEntries)
            RegistryKey(kUninstall + std::string(entry)).DeleteTree();
        RegistryKey("SOFTWARE\\Velmora\\Deployment Upkeep Utility").DeleteTree();
        ClearPendingDeletions();
    }

    std::string Log() {
        TheLogFile().Close();
        return ReadWholeFile(kLog);
    }

    std::unique_ptr<MachineLayout> layout_;
    char startDirectory_[MAX_PATH] = "";
};

TEST_F(DeploymentUpkeepUtilityTest, RemovesExactlyTheUtilityAndRunsEachUninstallerOnce) {
    const MachineState before = Snapshot(MachineKeys(), Folders());
    ASSERT_EQ(
        std::vector<std::string>{},
        PlacesMissing(before, Joined(Joined(FilePlaces(), UninstallPlaces()), ShortcutPlaces())));
    DeploymentUpkeepUtility utility;
    ASSERT_TRUE(utility.IsInstalled());
    const DWORD start = GetTickCount();
    EXPECT_TRUE(utility.Remove());
    // B ends with 259 (STILL_ACTIVE): its end is still seen at once, not after 300 seconds.
    EXPECT_LT(GetTickCount() - start, 60000u);
    const MachineState after = Snapshot(MachineKeys(), Folders());

    // Neighbours stay: upk.hlp, the source and notes.txt, the setup folder, the root's setup
    // files, B's log, the other product's shortcut and every entry that is not the utility's.
    EXPECT_EQ(LinesAt(before, Joined(Joined(FilePlaces(), UninstallPlaces()), ShortcutPlaces())),
              Removed(before, after));
    EXPECT_EQ(std::vector<std::string>{}, Added(before, after));
    // Each uninstaller had ended (it records last) when the stage went on.
    EXPECT_EQ(ExpectedRecord(), ReadWholeFile(kRecord));
    EXPECT_EQ("", Log());
    EXPECT_FALSE(utility.IsInstalled());
}

TEST_F(DeploymentUpkeepUtilityTest, LockedUpkIsLeftForTheRestartAndAllStagesRun) {
    const std::string upk = ExpandMachinePath("%SYSTEM%\\upk.exe");
    {
        HeldFile held(upk);
        ASSERT_TRUE(held.IsHeld());
        EXPECT_TRUE(DeploymentUpkeepUtility().Remove());
    }
    EXPECT_EQ(std::vector<std::string>{upk}, PendingDeletions());
    EXPECT_EQ(ExpectedRecord(), ReadWholeFile(kRecord));
    for (const std::string& shortcut : ShortcutPlaces()) EXPECT_FALSE(FileExists(shortcut));
    EXPECT_EQ("", Log());
}

TEST_F(DeploymentUpkeepUtilityTest, UpkThatCannotGoStopsAfterTheFirstStage) {
    const std::string upk = ExpandMachinePath("%SYSTEM%\\upk.exe");
    RefusedScheduling refused;
    const MachineState before = Snapshot(MachineKeys(), Folders());
    {
        HeldFile held(upk);
        ASSERT_TRUE(held.IsHeld());
        EXPECT_FALSE(DeploymentUpkeepUtility().Remove());
    }
    const MachineState after = Snapshot(MachineKeys(), Folders());
    EXPECT_EQ("Error:           did not remove upk.exe\r\n", Log());
    // The setup files and the uninstallers were still dealt with; the shortcuts stay.
    std::vector<std::string> gone = FilePlaces();
    gone.erase(gone.begin());
    EXPECT_EQ(LinesAt(before, Joined(gone, UninstallPlaces())), Removed(before, after));
    EXPECT_EQ(ExpectedRecord(), ReadWholeFile(kRecord));
    EXPECT_TRUE(FileExists(upk));
}

TEST_F(DeploymentUpkeepUtilityTest, MissingDefaultUserNameReachesNoOtherFolder) {
    RegistryKey("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon")
        .DeleteValue("DefaultUserName");
    // Where an empty user name would lead once the doubled backslash is read as one.
    layout_->Add(
        "file %WINDOWS%\\Profiles\\start menu\\programs\\Velmora Products and "
        "Services\\Velmora Deployment Upkeep Utility.lnk");
    const MachineState before = Snapshot({}, Folders());
    EXPECT_TRUE(DeploymentUpkeepUtility().FinalStage());
    const MachineState after = Snapshot({}, Folders());
    const std::vector<std::string> shortcuts = ShortcutPlaces();
    EXPECT_EQ(LinesAt(before, {shortcuts[0], shortcuts[1], shortcuts[2]}), Removed(before, after));
}

// The group as Wine's shell keeps it: the Program Manager commands it serves act on the
// current user's Programs folder. Waits until the shell answers them.
std::string ProgramManagerGroup() {
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, 0, programs);
    for (int attempt = 0; attempt < 100 && !ProgramManagerAnswers(); ++attempt) Sleep(100);
    const std::string group = FreshFolder(std::string(programs) + kGroup);
    for (const char* item : {"\\Velmora Deployment Upkeep Utility.lnk",
                             "\\Service Partition Refresh Utility.lnk", "\\Readme.lnk"})
        WriteWholeFile(group + item, "link");
    return group;
}

TEST_F(DeploymentUpkeepUtilityTest, ProgramManagerIsLeftAloneOnNt4) {
    const std::string group = ProgramManagerGroup();
    EXPECT_TRUE(DeploymentUpkeepUtility().MiddleStage());
    EXPECT_TRUE(FileExists(group + "\\Velmora Deployment Upkeep Utility.lnk"));
    RemoveTree(group);
}

}  // namespace
