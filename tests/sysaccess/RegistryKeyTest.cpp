// RegistryKey where its own logic meets Wine's registry: a value that grows while read, long
// names, the empty path and keys refused for lack of access. Wine refuses to open a key with more
// access than its DACL grants, but never refuses a deletion or a new DACL: the test does.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <aclapi.h>

#include <map>
#include <string>

#include "support/ImportPatch.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const std::string kTop = "L";  // right below the root, where the longest names fit

// Another program lengthens the value between the size query and the read.
ImportPatch* growPatch;
LONG WINAPI GrowingQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
    const LONG result =
        growPatch->Original<decltype(&RegQueryValueExA)>()(key, name, reserved, type, data, size);
    if (!data) WriteString(HKEY_LOCAL_MACHINE, kTop, name, std::string(*size + 300, 'L'));
    return result;
}

TEST(RegistryKeyTest, QueryStringReadsAValueThatGrewAfterItsSizeWasAsked) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kTop, "Text", "short"));
    ImportPatch patch("advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(GrowingQuery));
    growPatch = &patch;
    std::string text;
    EXPECT_TRUE(RegistryKey(kTop).QueryString("Text", text));
    EXPECT_EQ(std::string(306, 'L'), text);
}

// The narrow registry calls take paths of at most 259 characters: names of 255. The same keys
// under the other root stay.
TEST(RegistryKeyTest, DeleteTreeTakesTheLongestNamesAndStaysUnderItsOwnRoot) {
    const std::string longest(255, 'n');
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        ASSERT_TRUE(MakeKey(root, kTop + "\\" + longest + "\\A") && MakeKey(root, kTop + "\\B\\x"));
    RegistryKey tree(HKEY_CURRENT_USER, kTop);
    EXPECT_EQ("B", tree.FirstSubkey());
    EXPECT_EQ(longest, tree.NextSubkey());
    EXPECT_TRUE(tree.DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, kTop));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, kTop + "\\" + longest + "\\A") &&
                KeyPresent(HKEY_LOCAL_MACHINE, kTop + "\\B\\x"));
    RemoveKey(HKEY_LOCAL_MACHINE, kTop);
}

// Every operation connects to the root before it opens or creates a key: refused and counted.
int rootCalls = 0;
LONG WINAPI CountedConnect(LPCSTR, HKEY, PHKEY) {
    return ++rootCalls, ERROR_ACCESS_DENIED;
}
TEST(RegistryKeyTest, EmptyPathNeverReachesTheRoot) {
    ImportPatch connect("advapi32.dll", "RegConnectRegistryA",
                        reinterpret_cast<void*>(CountedConnect));
    RegistryKey empty(HKEY_LOCAL_MACHINE, "");
    std::string text;
    EXPECT_FALSE(empty.Exists() || empty.SetDword("Start", 4) || empty.QueryString("", text) ||
                 empty.DeleteValue("") || empty.DeleteRecursive(HKEY_LOCAL_MACHINE, ""));
    EXPECT_TRUE(empty.DeleteTree());
    EXPECT_EQ(0, rootCalls);
}

const std::string kTree = "Software\\OberinKeySecurityTest\\";

// Entries in the key's DACL; -1 for a null DACL (open to everyone), -2 when it cannot be read.
int DaclEntries(const std::string& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD result = GetNamedSecurityInfoA(("MACHINE\\" + path).c_str(), SE_REGISTRY_KEY,
                                               DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                               nullptr, &descriptor);
    const int entries = result ? -2 : dacl ? dacl->AceCount : -1;
    LocalFree(descriptor);
    return entries;
}

// Creates the key below the test tree with the DACL of the descriptor string.
void MakeKeyWithDacl(const std::string& path, const std::string& dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    HKEY key;
    MakeKey(HKEY_LOCAL_MACHINE, kTree + path);
    ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl.c_str(), SDDL_REVISION_1, &descriptor,
                                                         nullptr);
    if (!RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kTree + path).c_str(), 0, WRITE_DAC, &key)) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
}

std::map<std::string, int> deleteAttempts;
int securityWrites = 0;  // refused unless writable
bool securityWritable = true;
ImportPatch *deletePatch, *securityPatch;

LONG WINAPI GuardedDelete(HKEY key, LPCSTR path) {
    ++deleteAttempts[path];
    if (path == kTree + "Parent\\B" || (path == kTree + "Undeletable" && DaclEntries(path) != -1))
        return ERROR_ACCESS_DENIED;
    return deletePatch->Original<decltype(&RegDeleteKeyA)>()(key, path);
}

LONG WINAPI GuardedSetSecurity(HKEY key, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR sd) {
    ++securityWrites;
    if (!securityWritable) return ERROR_ACCESS_DENIED;
    return securityPatch->Original<decltype(&RegSetKeySecurity)>()(key, what, sd);
}

TEST(RegistryKeyTest, RefusedKeysAreDeletedOnceTheirDaclIsReplaced) {
    for (const auto& row : CaseTable("sysaccess\\keytree.txt")) MakeKeyWithDacl(row[0], row[1]);
    // The tree stays behind in the program's own prefix: Parent\B refuses deletion.
    ImportPatch deleting("advapi32.dll", "RegDeleteKeyA", reinterpret_cast<void*>(GuardedDelete));
    ImportPatch securing("advapi32.dll", "RegSetKeySecurity",
                         reinterpret_cast<void*>(GuardedSetSecurity));
    deletePatch = &deleting;
    securityPatch = &securing;
    for (const auto& row : CaseTable("sysaccess\\keysecurity.txt")) {
        securityWritable = row[1] == "allowed";
        securityWrites = 0;
        deleteAttempts.clear();
        EXPECT_EQ(row[2] == "deleted", RegistryKey(kTree + row[0]).DeleteTree()) << row[0];
        EXPECT_EQ(std::stoi(row[3]), securityWrites) << row[0];
        for (std::size_t i = 4; i + 2 < row.size(); i += 3) {
            EXPECT_EQ(std::stoi(row[i + 1]), deleteAttempts[kTree + row[i]]) << row[i];
            EXPECT_EQ(std::stoi(row[i + 2]), DaclEntries(kTree + row[i])) << row[i];
        }
    }
}
}  // namespace
