// Keys that refuse deletion for lack of access. Wine refuses to open a key with more access than
// its DACL grants, but never refuses RegDeleteKeyA: that refusal is made at the import boundary.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <map>
#include <string>

#include "support/ImportPatch.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const std::string kBase = "Software\\OberinKeySecurityTest";

// ACEs in the key's DACL; -1 for a null DACL (open to everyone), -2 when it cannot be read.
int DaclEntries(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -2;
    BYTE buffer[1024];
    DWORD size = sizeof buffer;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    const bool read =
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, buffer, &size) == ERROR_SUCCESS &&
        GetSecurityDescriptorDacl(buffer, &present, &dacl, &defaulted);
    RegCloseKey(key);
    return !read ? -2 : present && dacl ? dacl->AceCount : -1;
}

// Gives the key the DACL of the descriptor string.
void SetDacl(const std::string& path, const char* dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    HKEY key;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl, SDDL_REVISION_1, &descriptor,
                                                             nullptr) &&
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, READ_CONTROL | WRITE_DAC, &key) ==
            ERROR_SUCCESS) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
}

// Keys whose deletion RegDeleteKeyA refuses: while their DACL is not null (as Windows does for
// a DACL without delete access), or whatever their DACL (true).
std::map<std::string, bool> refused;
std::map<std::string, int> deleteAttempts;
int securityWrites = 0;
bool securityWritable = true;
ImportPatch* deletePatch = nullptr;
ImportPatch* securityPatch = nullptr;

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

class KeySecurityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(deletePatch_.Active() && securityPatch_.Active());
        deletePatch = &deletePatch_;
        securityPatch = &securityPatch_;
        for (const char* path : {"\\ReadOnly\\Child\\Grandchild", "\\Undeletable\\Child",
                                 "\\Parent\\A", "\\Parent\\B", "\\Parent\\C"})
            ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kBase + path, "Value", "x"));
        // ReadOnly and its subkeys open only for reading; Undeletable and Parent\B open fully
        // but refuse deletion, Parent\B even after a reset of its DACL.
        for (const char* path :
             {"\\ReadOnly\\Child\\Grandchild", "\\ReadOnly\\Child", "\\ReadOnly"})
            SetDacl(kBase + path, "D:(A;;KR;;;WD)");
        for (const char* path : {"\\Undeletable", "\\Parent\\B"})
            SetDacl(kBase + path, "D:(A;;0xe003f;;;WD)");
        refused = {{kBase + "\\Undeletable", false}, {kBase + "\\Parent\\B", true}};
        ASSERT_FALSE(RegistryKey(kBase + "\\ReadOnly").Exists());
        deleteAttempts.clear();
        securityWrites = 0;
    }
    void TearDown() override {
        refused.clear();
        securityWritable = true;
        for (const char* path :
             {"\\ReadOnly", "\\ReadOnly\\Child", "\\ReadOnly\\Child\\Grandchild"})
            SetDacl(kBase + path, "D:(A;;KA;;;WD)");
        RemoveKey(HKEY_LOCAL_MACHINE, kBase);
    }
    ImportPatch deletePatch_{"advapi32.dll", "RegDeleteKeyA",
                             reinterpret_cast<void*>(GuardedDelete)};
    ImportPatch securityPatch_{"advapi32.dll", "RegSetKeySecurity",
                               reinterpret_cast<void*>(GuardedSetSecurity)};
};

TEST_F(KeySecurityTest, RefusedKeysAreDeletedOnceTheirDaclIsReplaced) {
    EXPECT_TRUE(RegistryKey(kBase + "\\ReadOnly").DeleteTree());
    EXPECT_EQ(3, securityWrites);  // each key that refused full access
    EXPECT_TRUE(RegistryKey(kBase + "\\Undeletable").DeleteTree());
    EXPECT_EQ(4, securityWrites);
    EXPECT_EQ(2, deleteAttempts[kBase + "\\Undeletable"]);
    EXPECT_EQ(1, deleteAttempts[kBase + "\\Undeletable\\Child"]);
    for (const char* path : {"\\ReadOnly", "\\Undeletable"})
        EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + path)) << path;
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + "\\Parent"));
}

TEST_F(KeySecurityTest, KeysStillRefusedStayWithTheirDacl) {
    securityWritable = false;
    for (const char* path : {"\\ReadOnly", "\\Undeletable"}) {
        EXPECT_FALSE(RegistryKey(kBase + path).DeleteTree()) << path;
        EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + path)) << path;
        EXPECT_EQ(1, DaclEntries(kBase + path)) << path;
    }
    EXPECT_EQ(0, deleteAttempts[kBase + "\\ReadOnly"]);
    EXPECT_EQ(1, deleteAttempts[kBase + "\\Undeletable"]);
    // Parent\B is tried, reset, retried once and given its DACL back; the loop ends at B.
    securityWritable = true;
    securityWrites = 0;
    EXPECT_FALSE(RegistryKey(kBase + "\\Parent").DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + "\\Parent\\A"));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + "\\Parent\\C"));
    EXPECT_EQ(2, deleteAttempts[kBase + "\\Parent\\B"]);
    EXPECT_EQ(0, deleteAttempts[kBase + "\\Parent\\C"]);
    EXPECT_EQ(2, securityWrites);  // the reset, then the old DACL put back
    EXPECT_EQ(1, DaclEntries(kBase + "\\Parent\\B"));
}
}  // namespace
