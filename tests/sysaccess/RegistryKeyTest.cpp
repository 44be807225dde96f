// RegistryKey where its own logic meets Wine's registry: a value that grows while read, long
// names, the recursive deletion and the empty path. The build-number query reads string data.
#include <gtest/gtest.h>

#include <string>

#include "support/ImportPatch.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const std::string kBase = "L";  // right below the root, where the longest names fit

// Another program lengthens the value between the size query and the read.
ImportPatch* growPatch;
LONG WINAPI GrowingQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
    const LONG result =
        growPatch->Original<decltype(&RegQueryValueExA)>()(key, name, reserved, type, data, size);
    if (!data) WriteString(HKEY_LOCAL_MACHINE, kBase, name, std::string(*size + 300, 'L'));
    return result;
}

TEST(RegistryKeyTest, QueryStringReadsAValueThatGrewAfterItsSizeWasAsked) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kBase, "Text", "short"));
    ImportPatch patch("advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(GrowingQuery));
    growPatch = &patch;
    std::string text;
    EXPECT_TRUE(RegistryKey(kBase).QueryString("Text", text));
    EXPECT_EQ(std::string(306, 'L'), text);
    RemoveKey(HKEY_LOCAL_MACHINE, kBase);
}

// The narrow registry calls take paths of at most 259 characters: names of 255. The same keys
// under the other root stay.
TEST(RegistryKeyTest, DeleteTreeTakesTheLongestNamesAndStaysUnderItsOwnRoot) {
    const std::string longest(255, 'n');
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        ASSERT_TRUE(MakeKey(root, kBase + "\\" + longest + "\\A") &&
                    MakeKey(root, kBase + "\\B\\x"));
    RegistryKey tree(HKEY_CURRENT_USER, kBase);
    EXPECT_EQ("B", tree.FirstSubkey());
    EXPECT_EQ(longest, tree.NextSubkey());
    EXPECT_TRUE(tree.DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, kBase));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, kBase + "\\" + longest + "\\A") &&
                KeyPresent(HKEY_LOCAL_MACHINE, kBase + "\\B\\x"));
    RemoveKey(HKEY_LOCAL_MACHINE, kBase);
}

// Every call that opens or creates a key (all others need an open key), refused and counted while
// the patches live.
int rootCalls = 0;
LONG WINAPI CountedOpen(HKEY, LPCSTR, DWORD, REGSAM, PHKEY) {
    return ++rootCalls, ERROR_ACCESS_DENIED;
}
LONG WINAPI CountedCreate(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY,
                          LPDWORD) {
    return ++rootCalls, ERROR_ACCESS_DENIED;
}
TEST(RegistryKeyTest, EmptyPathNeverReachesTheRoot) {
    ImportPatch open("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(CountedOpen));
    ImportPatch create("advapi32.dll", "RegCreateKeyExA", reinterpret_cast<void*>(CountedCreate));
    RegistryKey empty(HKEY_LOCAL_MACHINE, "");
    std::string text;
    EXPECT_FALSE(empty.Exists() || empty.SetDword("Start", 4) || empty.QueryString("", text) ||
                 empty.DeleteValue("") || empty.DeleteRecursive(HKEY_LOCAL_MACHINE, ""));
    EXPECT_TRUE(empty.DeleteTree());
    EXPECT_EQ(0, rootCalls);
}
}  // namespace
