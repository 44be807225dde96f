// The disk array setup utility removed from Wine's machine: its folder, help files, shortcuts
// and keys, and nothing of its neighbours.
#include <gtest/gtest.h>

#include "components/CatalogCheck.h"
#include "components/DiskArraySetupUtility.h"
#include "support/ImportPatch.h"
#include "run/LogFile.h"

namespace {
const char kMachine[] = "disk-array";
const char kExecutable[] = "%SYSTEM%\\vlmdsu\\VLMDSU.EXE";
const char kName[] = "Velmora Disk Array Setup Utility\n";

const std::vector<std::string>& ProductPlaces() {
    static const std::vector<std::string> places = {
        "%SYSTEM%\\vlmdsu",
        "%SYSTEM%\\VLMDAENG.HLP",
        "%SYSTEM%\\VLMDAJPN.HLP",
        "%SYSTEM%\\VLMDAGER.HLP",
        "%SYSTEM%\\VLMDAITA.HLP",
        "%SYSTEM%\\VLMDASPA.HLP",
        "%SYSTEM%\\VLMDAFRN.HLP",
        "%COMMONPROGRAMS%\\Velmora System Tools\\Velmora Disk Array Setup Utility.lnk",
        "%COMMONPROGRAMS%\\Administrative Tools (Common)\\Velmora Disk Array Setup Utility.lnk",
        "HKLM\\SOFTWARE\\Velmora\\CPL Launcher\\VLMDSU",
        "HKLM\\SOFTWARE\\Velmora\\Disk Array Setup Utility",
    };
    return places;
}

class DiskArraySetupUtilityTest : public ::testing::Test {
  protected:
    void TearDown() override { UndoLayout(kMachine); }
};

TEST_F(DiskArraySetupUtilityTest, RemovesExactlyTheProduct) {
    MachineLayout layout(kMachine);
    const MachineState before = CatalogSnapshot();
    DiskArraySetupUtility product;
    EXPECT_EQ(WithCrLf(std::string("Product Name:    ") + kName +
                       "Action:          This utility has been detected.\n"
                       "                 Attempting to remove...\n"
                       "                 This utility has been removed.\n"
                       "Warning:         N/A\n" +
                       LogSeparator),
              ReportAndLog(product, kName, ProductKind::Utility));
    ExpectRemovedExactly(Removed(before, CatalogSnapshot()), ProductPlaces());
    EXPECT_FALSE(product.IsInstalled());
}

TEST_F(DiskArraySetupUtilityTest, EveryRowOfTheFileListIsAttemptedDuplicatesIncluded) {
    MachineLayout layout(kMachine);
    DiskArraySetupUtility product;
    bool removed = false;
    EXPECT_EQ("", RemoveAndLog(product, &removed));
    EXPECT_TRUE(removed);
    // A name listed twice is gone at its first row; the second row asks for its deletion at
    // the restart, as for any missing file. Names listed once were simply deleted.
    for (const char* twice :
         {"VLMDSU.EXE", "VLMCTRLS.DLL", "VLMMISC.DLL", "VLMDAENG.DLL", "VLMDAFRN.DLL",
          "VLMDAGER.DLL", "VLMDAITA.DLL", "VLMDAJPN.DLL", "VLMDASPA.DLL"})
        EXPECT_TRUE(IsPendingDeletion(std::string("%SYSTEM%\\vlmdsu\\") + twice)) << twice;
    for (const char* once : {"uxl.DLL", "VLMBIOS.DLL", "NTFILES.LST", "VLMWNTL.DLL"})
        EXPECT_FALSE(IsPendingDeletion(std::string("%SYSTEM%\\vlmdsu\\") + once)) << once;
}

TEST_F(DiskArraySetupUtilityTest, WithoutItsExecutableNothingIsTouched) {
    MachineLayout layout(kMachine);
    DeleteFileA(ExpandMachinePath(kExecutable).c_str());
    const MachineState before = CatalogSnapshot();
    DiskArraySetupUtility product;
    EXPECT_EQ(WithCrLf(std::string("Product Name:    ") + kName +
                       "Action:          This utility is not installed, so the Windows 2000 "
                       "Oberin\n"
                       "                 Utility from Velmora is not attempting to remove it.\n"
                       "Warning:         N/A\n" +
                       LogSeparator),
              ReportAndLog(product, kName, ProductKind::Utility));
    EXPECT_EQ(std::vector<std::string>(), Removed(before, CatalogSnapshot()));
}

TEST_F(DiskArraySetupUtilityTest, ExecutableInUseIsLeftForTheRestart) {
    MachineLayout layout(kMachine);
    HeldFile held(ExpandMachinePath(kExecutable));
    ASSERT_TRUE(held.IsHeld());
    DiskArraySetupUtility product;
    bool removed = false;
    EXPECT_EQ("", RemoveAndLog(product, &removed));
    EXPECT_TRUE(removed);
    EXPECT_TRUE(IsPendingDeletion(kExecutable));
    // Its folder stays for the restart; the keys go at once.
    EXPECT_TRUE(product.IsInstalled());
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\CPL Launcher\\VLMDSU"));
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\Disk Array Setup Utility"));
}

TEST_F(DiskArraySetupUtilityTest, RefusedSchedulingIsReportedAndKeepsTheKeys) {
    MachineLayout layout(kMachine);
    RefusedScheduling refused;
    HeldFile held(ExpandMachinePath(kExecutable));
    DiskArraySetupUtility product;
    EXPECT_EQ(WithCrLf(std::string("Product Name:    ") + kName +
                       "Action:          This utility has been detected.\n"
                       "                 Attempting to remove...\n"
                       "Error:           did not remove vlmdsu.exe\n"
                       "Warning:         This utility was not completely removed.\n" +
                       LogSeparator),
              ReportAndLog(product, kName, ProductKind::Utility));
    // Everything else of the middle stage still went; the final stage did not run.
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\CPL Launcher\\VLMDSU"));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\Disk Array Setup Utility"));
    EXPECT_TRUE(product.IsInstalled());
    EXPECT_FALSE(FileExistsAt("%SYSTEM%\\vlmdsu\\VLMBIOS.DLL"));
    EXPECT_FALSE(FileExistsAt("%SYSTEM%\\VLMDAENG.HLP"));
    EXPECT_FALSE(FileExistsAt(
        "%COMMONPROGRAMS%\\Velmora System Tools\\Velmora Disk Array Setup Utility.lnk"));
}

TEST_F(DiskArraySetupUtilityTest, ForeignFileKeepsTheFolderButNotTheResult) {
    MachineLayout layout(kMachine);
    layout.Add("file %SYSTEM%\\vlmdsu\\ARRAY.CFG");
    DiskArraySetupUtility product;
    bool removed = false;
    EXPECT_EQ("", RemoveAndLog(product, &removed));
    EXPECT_TRUE(removed);
    EXPECT_TRUE(FileExistsAt("%SYSTEM%\\vlmdsu\\ARRAY.CFG"));
    EXPECT_FALSE(product.IsInstalled());
    DeleteFileA(ExpandMachinePath("%SYSTEM%\\vlmdsu\\ARRAY.CFG").c_str());
}

TEST_F(DiskArraySetupUtilityTest, ExecutableAloneIsEnough) {
    MachineLayout layout("clean");
    layout.Add(std::string("file ") + kExecutable);
    DiskArraySetupUtility product;
    bool removed = false;
    EXPECT_EQ("", RemoveAndLog(product, &removed));
    EXPECT_TRUE(removed);
    EXPECT_FALSE(FileExistsAt("%SYSTEM%\\vlmdsu"));
}

// Program Manager is the shell of Windows NT 3.51 only: elsewhere no conversation is opened.
int ddeInitializeCalls = 0;
UINT WINAPI RefuseDdeInitialize(LPDWORD, PFNCALLBACK, DWORD, DWORD) {
    ++ddeInitializeCalls;
    return DMLERR_DLL_NOT_INITIALIZED;
}

// Lays the utility out afresh and removes it; Remove's result.
bool RemoveLaidOutUtility() {
    MachineLayout layout(kMachine);
    DiskArraySetupUtility product;
    bool removed = false;
    RemoveAndLog(product, &removed);
    return removed;
}

TEST_F(DiskArraySetupUtilityTest, ProgramManagerIsAskedOnlyOnWindowsNt351) {
    ImportPatch patch("user32.dll", "DdeInitializeA", reinterpret_cast<void*>(RefuseDdeInitialize));
    ASSERT_TRUE(patch.Active());
    EXPECT_TRUE(RemoveLaidOutUtility());
    EXPECT_EQ(0, ddeInitializeCalls);
    ASSERT_TRUE(SetWindowsVersion("nt351"));
    // Without Program Manager the stage still succeeds.
    EXPECT_TRUE(RemoveLaidOutUtility());
    EXPECT_EQ(1, ddeInitializeCalls);
    ASSERT_TRUE(SetWindowsVersion("nt40"));
}
}  // namespace
