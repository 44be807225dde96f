// Keys that refuse deletion for lack of access. Wine refuses to open a key with more access than
// its DACL grants, but never refuses RegDeleteKeyA: that refusal is made at the import boundary.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/ImportPatch.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kBase[] = "Software\\OberinKeySecurityTest";

std::string Below(const std::string& rest) {
    return std::string(kBase) + "\\" + rest;
}

// Number of ACEs in the key's DACL; -1 for a null DACL (full access for everyone), -2 when the
// key's security cannot be read.
int DaclEntries(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -2;
    BYTE buffer[1024];
    DWORD size = sizeof buffer;
    const LONG result = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, buffer, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return -2;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(buffer, &present, &dacl, &defaulted)) return -2;
    return present && dacl ? dacl->AceCount : -1;
}

// Gives the key a DACL that grants everyone the given access and nothing more.
bool LockKey(const std::string& path, DWORD access) {
    SID_IDENTIFIER_AUTHORITY world = {SECURITY_WORLD_SID_AUTHORITY};
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return false;
    BYTE aclBuffer[256];
    PACL acl = reinterpret_cast<PACL>(aclBuffer);
    SECURITY_DESCRIPTOR descriptor;
    HKEY key;
    bool locked = InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION) &&
                  AddAccessAllowedAce(acl, ACL_REVISION, access, everyone) &&
                  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                  SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    FreeSid(everyone);
    if (!locked ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    locked = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    RegCloseKey(key);
    return locked;
}

// Opens the key to everyone again.
void Unlock(const std::string& path) {
    SECURITY_DESCRIPTOR open;
    HKEY key;
    if (InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE) &&
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, READ_CONTROL | WRITE_DAC, &key) ==
            ERROR_SUCCESS) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &open);
        RegCloseKey(key);
    }
}

// How RegDeleteKeyA treats the undeletable keys: refused while their DACL is not null (as
// Windows does for a DACL without delete access), or refused whatever their DACL.
enum class Refusal { WhileLocked, Always };
Refusal refusal = Refusal::WhileLocked;
std::set<std::string> lockedKeys;
std::map<std::string, int> deleteAttempts;
int securityWrites = 0;
bool securityWritable = true;
ImportPatch* deletePatch = nullptr;
ImportPatch* securityPatch = nullptr;

LONG WINAPI GuardedDelete(HKEY key, LPCSTR path) {
    ++deleteAttempts[path];
    if (lockedKeys.count(path) && (refusal == Refusal::Always || DaclEntries(path) != -1))
        return ERROR_ACCESS_DENIED;
    return deletePatch->Original<decltype(&RegDeleteKeyA)>()(key, path);
}

LONG WINAPI GuardedSetSecurity(HKEY key, SECURITY_INFORMATION what,
                               PSECURITY_DESCRIPTOR descriptor) {
    ++securityWrites;
    if (!securityWritable) return ERROR_ACCESS_DENIED;
    return securityPatch->Original<decltype(&RegSetKeySecurity)>()(key, what, descriptor);
}

class KeySecurityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kBase));
        refusal = Refusal::WhileLocked;
        lockedKeys.clear();
        deleteAttempts.clear();
        securityWrites = 0;
        securityWritable = true;
        ASSERT_TRUE(deletePatch_.Active());
        ASSERT_TRUE(securityPatch_.Active());
        deletePatch = &deletePatch_;
        securityPatch = &securityPatch_;
    }
    void TearDown() override {
        lockedKeys.clear();
        securityWritable = true;
        for (const std::string& path : readOnly_) Unlock(path);
        RemoveKey(HKEY_LOCAL_MACHINE, kBase);
    }
    // A key that Wine opens only for reading.
    void ReadOnly(const std::string& path) {
        readOnly_.push_back(path);
        const int writes = securityWrites;
        ASSERT_TRUE(LockKey(path, KEY_READ));
        securityWrites = writes;
        ASSERT_EQ(1, DaclEntries(path));
        ASSERT_FALSE(RegistryKey(path).Exists());
        ASSERT_EQ(ERROR_ACCESS_DENIED, [&] {
            RegistryKey key(path);
            key.Open();
            return key.LastError();
        }());
    }
    // A key that opens with full access but refuses deletion.
    void Undeletable(const std::string& path) {
        const int writes = securityWrites;
        ASSERT_TRUE(LockKey(path, KEY_ALL_ACCESS & ~DELETE));
        securityWrites = writes;
        ASSERT_EQ(1, DaclEntries(path));
        ASSERT_TRUE(RegistryKey(path).Exists());
        lockedKeys.insert(path);
    }

    std::vector<std::string> readOnly_;
    ImportPatch deletePatch_{"advapi32.dll", "RegDeleteKeyA",
                             reinterpret_cast<void*>(GuardedDelete)};
    ImportPatch securityPatch_{"advapi32.dll", "RegSetKeySecurity",
                               reinterpret_cast<void*>(GuardedSetSecurity)};
};

TEST_F(KeySecurityTest, KeyThatRefusesFullAccessIsDeletedOnceItsDaclIsReplaced) {
    const std::string locked = Below("Locked");
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, locked, "Value", "x"));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, locked + "\\Child\\Grandchild"));
    ReadOnly(locked + "\\Child\\Grandchild");
    ReadOnly(locked + "\\Child");
    ReadOnly(locked);
    EXPECT_TRUE(RegistryKey(locked).DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, locked));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, kBase));
    EXPECT_EQ(3, securityWrites);
}

TEST_F(KeySecurityTest, RefusedDeletionSucceedsOnceTheDaclIsReplaced) {
    const std::string locked = Below("Locked");
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, locked, "Value", "x"));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, locked + "\\Child"));
    Undeletable(locked);
    EXPECT_TRUE(RegistryKey(locked).DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, locked));
    EXPECT_EQ(2, deleteAttempts[locked]);
    EXPECT_EQ(1, deleteAttempts[locked + "\\Child"]);
    EXPECT_EQ(1, securityWrites);
}

TEST_F(KeySecurityTest, KeyWhoseDaclCannotBeReplacedStaysUnchanged) {
    const std::string readOnly = Below("ReadOnly");
    const std::string undeletable = Below("Undeletable");
    for (const std::string& path : {readOnly, undeletable})
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, path, "Value", "x"));
    ReadOnly(readOnly);
    Undeletable(undeletable);
    securityWritable = false;
    EXPECT_FALSE(RegistryKey(readOnly).DeleteTree());
    EXPECT_FALSE(RegistryKey(undeletable).DeleteTree());
    EXPECT_EQ(0, deleteAttempts[readOnly]);
    EXPECT_EQ(1, deleteAttempts[undeletable]);
    for (const std::string& path : {readOnly, undeletable}) {
        DWORD type;
        std::string data;
        EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, path, "Value", &type, &data)) << path;
        EXPECT_EQ(1, DaclEntries(path)) << path;
    }
}

TEST_F(KeySecurityTest, KeyStillRefusedAfterTheResetGetsItsDaclBack) {
    const std::string locked = Below("Locked");
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, locked, "Value", "x"));
    Undeletable(locked);
    refusal = Refusal::Always;
    EXPECT_FALSE(RegistryKey(locked).DeleteTree());
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, locked));
    EXPECT_EQ(2, deleteAttempts[locked]);  // tried, then retried once after the reset
    EXPECT_EQ(2, securityWrites);          // the reset, then the old DACL put back
    EXPECT_EQ(1, DaclEntries(locked));
    EXPECT_TRUE(RegistryKey(locked).Exists());  // the old DACL: full access but delete
}

TEST_F(KeySecurityTest, SubkeyThatCannotBeDeletedEndsTheDeletion) {
    const std::string parent = Below("Parent");
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, parent + "\\A"));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, parent + "\\B"));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, parent + "\\C"));
    const int parentDacl = DaclEntries(parent);
    Undeletable(parent + "\\B");
    refusal = Refusal::Always;
    EXPECT_FALSE(RegistryKey(parent).DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, parent + "\\A"));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, parent + "\\B"));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, parent + "\\C"));  // the loop stopped at B
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, parent));
    EXPECT_EQ(1, DaclEntries(parent + "\\B"));
    EXPECT_EQ(parentDacl, DaclEntries(parent));
    EXPECT_EQ(0, deleteAttempts[parent + "\\C"]);
    EXPECT_EQ(2, deleteAttempts[parent + "\\B"]);
}
}  // namespace
