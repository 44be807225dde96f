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

class DiskArraySetupUtilityTest : public ::testing::Test {
  protected:
    void TearDown() override { UndoLayout(kMachine); }
};

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
