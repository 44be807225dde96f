// RegistryKey where its own logic meets Wine's registry: a value that grows while read, the empty
// path, and deleting trees with the longest names and keys refused for lack of access. Wine
// refuses to open a key with more access than its DACL grants, but never refuses a deletion or a
// new DACL: the test does. Everything happens below HKCU\K, which stays behind in the test prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <string>

#include "support/ImportPatch.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const std::string kTree = "K\\";

// Another program lengthens the value between the size query and the read.
ImportPatch* growPatch;
LONG WINAPI GrowingQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
    const LONG result =
        growPatch->Original<decltype(&RegQueryValueExA)>()(key, name, reserved, type, data, size);
    if (!data) WriteString(HKEY_CURRENT_USER, "K", name, std::string(*size + 300, 'L'));
    return result;
}

TEST(RegistryKeyTest, QueryStringReadsAValueThatGrewAfterItsSizeWasAsked) {
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, "K", "Text", "short"));
    ImportPatch patch("advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(GrowingQuery));
    growPatch = &patch;
    std::string text;
    EXPECT_TRUE(RegistryKey(HKEY_CURRENT_USER, "K").QueryString("Text", text));
    EXPECT_EQ(std::string(306, 'L'), text);
}

// What the stubs below saw of one case: keys opened or made, deletions and DACL writes.
std::string calls;
void Record(const std::string& call) {
    calls += (calls.empty() ? "" : ", ") + call;
}

// Every operation opens or creates its key first: refused.
LONG WINAPI RefusedOpen(HKEY, LPCSTR, DWORD, REGSAM, PHKEY) {
    Record("open");
    return ERROR_ACCESS_DENIED;
}
LONG WINAPI RefusedCreate(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY,
                          LPDWORD) {
    Record("create");
    return ERROR_ACCESS_DENIED;
}
TEST(RegistryKeyTest, EmptyPathNeverReachesTheRoot) {
    ImportPatch open("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(RefusedOpen));
    ImportPatch create("advapi32.dll", "RegCreateKeyExA", reinterpret_cast<void*>(RefusedCreate));
    RegistryKey empty(HKEY_LOCAL_MACHINE, "");
    std::string text;
    EXPECT_FALSE(empty.Exists() || empty.SetDword("Start", 4) || empty.QueryString("", text) ||
                 empty.DeleteValue("") || empty.DeleteRecursive(HKEY_LOCAL_MACHINE, ""));
    EXPECT_TRUE(empty.DeleteTree());
    EXPECT_EQ("", calls);
}

// Parent\B refuses deletion whatever its DACL, Undeletable until a null DACL was written; DACL
// writes are refused unless writable.
ImportPatch *deletePatch, *securityPatch;
bool securityWritable = true, nullDaclWritten = false;
LONG WINAPI GuardedDelete(HKEY key, LPCSTR path) {
    const std::string name = std::string(path).substr(kTree.size());
    const LONG result = name == "Parent\\B" || (name == "Undeletable" && !nullDaclWritten)
                            ? ERROR_ACCESS_DENIED
                            : deletePatch->Original<decltype(&RegDeleteKeyA)>()(key, path);
    Record((result ? "refused " : "deleted ") + name);
    return result;
}

LONG WINAPI GuardedSetSecurity(HKEY key, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR sd) {
    BOOL present, defaulted;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted);
    Record(std::string(securityWritable ? "" : "refused ") +
           (dacl ? "DACL of " + std::to_string(dacl->AceCount) : "null DACL"));
    nullDaclWritten |= securityWritable && !dacl;
    if (!securityWritable) return ERROR_ACCESS_DENIED;
    return securityPatch->Original<decltype(&RegSetKeySecurity)>()(key, what, sd);
}

TEST(RegistryKeyTest, TreesAreDeletedWithTheLongestNamesAndRefusedKeysOnceTheirDaclIsReplaced) {
    for (const auto& row : CaseTable("sysaccess\\keytree.txt")) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        HKEY key = nullptr;
        MakeKey(HKEY_CURRENT_USER, kTree + row[0]);
        RegOpenKeyExA(HKEY_CURRENT_USER, (kTree + row[0]).c_str(), 0, WRITE_DAC, &key);
        ConvertStringSecurityDescriptorToSecurityDescriptorA(row[1].c_str(), SDDL_REVISION_1,
                                                             &descriptor, nullptr);
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor));
        RegCloseKey(key);
        LocalFree(descriptor);
    }
    EXPECT_EQ(std::string(255, 'n'), RegistryKey(HKEY_CURRENT_USER, kTree + "L").FirstSubkey());
    ImportPatch deleting("advapi32.dll", "RegDeleteKeyA", reinterpret_cast<void*>(GuardedDelete));
    ImportPatch securing("advapi32.dll", "RegSetKeySecurity",
                         reinterpret_cast<void*>(GuardedSetSecurity));
    deletePatch = &deleting;
    securityPatch = &securing;
    for (const auto& row : CaseTable("sysaccess\\keysecurity.txt")) {
        securityWritable = row[1] == "allowed";
        nullDaclWritten = false;
        calls.clear();
        EXPECT_EQ(row[2] == "deleted", RegistryKey(HKEY_CURRENT_USER, kTree + row[0]).DeleteTree())
            << row[0];
        EXPECT_EQ(row[3], calls) << row[0];
    }
}
}  // namespace
