// Keys that refuse deletion for lack of access. Wine refuses to open a key with more access than
// its DACL grants, but never refuses RegDeleteKeyA: that refusal is made at the import boundary.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <aclapi.h>

#include <map>
#include <string>

#include "support/ImportPatch.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kTree[] = "Software\\OberinKeySecurityTest";
const std::string kBase = kTree + std::string("\\");

// ACEs in the key's DACL; -1 for a null DACL (open to everyone), -2 when it cannot be read.
int DaclEntries(const std::string& path) {
    HKEY key;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key)) return -2;
    const DWORD result = GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr,
                                         nullptr, &dacl, nullptr, &descriptor);
    const int entries = result ? -2 : dacl ? dacl->AceCount : -1;
    RegCloseKey(key);
    LocalFree(descriptor);
    return entries;
}

// Gives the keys below the test tree the DACL of the descriptor string.
void SetDacl(std::initializer_list<const char*> paths, const char* dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    HKEY key;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl, SDDL_REVISION_1, &descriptor,
                                                         nullptr);
    for (const char* path : paths) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kBase + path).c_str(), 0, WRITE_DAC, &key)) continue;
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
}

// Keys whose deletion RegDeleteKeyA refuses: while their DACL is not null (as Windows does for
// a DACL without delete access), or whatever their DACL (true).
std::map<std::string, bool> refused;
std::map<std::string, int> deleteAttempts;
int securityWrites = 0;  // refused unless writable
bool securityWritable = true;
ImportPatch *deletePatch, *securityPatch;

LONG WINAPI GuardedDelete(HKEY key, LPCSTR path) {
    ++deleteAttempts[path];
    if (refused.count(path) && (refused[path] || DaclEntries(path) != -1))
        return ERROR_ACCESS_DENIED;
    return deletePatch->Original<decltype(&RegDeleteKeyA)>()(key, path);
}

LONG WINAPI GuardedSetSecurity(HKEY key, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR sd) {
    ++securityWrites;
    if (!securityWritable) return ERROR_ACCESS_DENIED;
    return securityPatch->Original<decltype(&RegSetKeySecurity)>()(key, what, sd);
}

// ReadOnly and its Child open only for reading; Undeletable and Parent\B open fully but refuse
// deletion, Parent\B even after a reset of its DACL.
class KeySecurityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE((deletePatch = &deletePatch_)->Active() &&
                    (securityPatch = &securityPatch_)->Active());
        for (const char* path :
             {"ReadOnly\\Child", "Undeletable\\Child", "Parent\\A", "Parent\\B", "Parent\\C"})
            ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, kBase + path));
        SetDacl({"ReadOnly\\Child", "ReadOnly"}, "D:(A;;KR;;;WD)");
        SetDacl({"Undeletable", "Parent\\B"}, "D:(A;;0xe003f;;;WD)");
        refused = {{kBase + "Undeletable", false}, {kBase + "Parent\\B", true}};
        deleteAttempts.clear();
        securityWrites = 0;
    }
    void TearDown() override {
        securityWritable = true;
        SetDacl({"ReadOnly", "ReadOnly\\Child"}, "D:(A;;KA;;;WD)");
        refused.clear();
        RemoveKey(HKEY_LOCAL_MACHINE, kTree);
    }
    ImportPatch deletePatch_{"advapi32.dll", "RegDeleteKeyA",
                             reinterpret_cast<void*>(GuardedDelete)};
    ImportPatch securityPatch_{"advapi32.dll", "RegSetKeySecurity",
                               reinterpret_cast<void*>(GuardedSetSecurity)};
};

TEST_F(KeySecurityTest, RefusedKeysAreDeletedOnceTheirDaclIsReplaced) {
    EXPECT_TRUE(RegistryKey(kBase + "ReadOnly").DeleteTree());
    EXPECT_EQ(2, securityWrites);  // each key that refused full access
    EXPECT_TRUE(RegistryKey(kBase + "Undeletable").DeleteTree());
    EXPECT_EQ(3, securityWrites);
    EXPECT_EQ(2, deleteAttempts[kBase + "Undeletable"]);
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + "ReadOnly") ||
                 KeyPresent(HKEY_LOCAL_MACHINE, kBase + "Undeletable"));
}

TEST_F(KeySecurityTest, KeysStillRefusedStayWithTheirDacl) {
    securityWritable = false;
    for (const char* path : {"ReadOnly", "Undeletable"}) {
        EXPECT_FALSE(RegistryKey(kBase + path).DeleteTree()) << path;
        EXPECT_EQ(1, DaclEntries(kBase + path)) << path;
    }
    EXPECT_EQ(0, deleteAttempts[kBase + "ReadOnly"]);
    EXPECT_EQ(1, deleteAttempts[kBase + "Undeletable"]);
    // Parent\B is tried, reset, retried once and given its DACL back; the loop ends at B.
    securityWritable = true;
    securityWrites = 0;
    EXPECT_FALSE(RegistryKey(kBase + "Parent").DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + "Parent\\A"));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + "Parent\\C"));
    EXPECT_EQ(2, deleteAttempts[kBase + "Parent\\B"]);
    EXPECT_EQ(2, securityWrites);  // the reset, then the old DACL put back
    EXPECT_EQ(1, DaclEntries(kBase + "Parent\\B"));
}
}  // namespace
