// RegistryKey on Wine's registry: every operation, its status codes and the subkey walk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ImportPatch.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kBase[] = "Software\\OberinRegistryTest";

std::string Below(const std::string& rest) {
    return std::string(kBase) + "\\" + rest;
}

class RegistryKeyTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kBase)); }
    void TearDown() override { RemoveKey(HKEY_LOCAL_MACHINE, kBase); }
};

TEST_F(RegistryKeyTest, OpenCloseAndExistsReportTheirStatus) {
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Present")));
    RegistryKey present(Below("Present"));
    EXPECT_EQ(RegistryUnused, present.Status());
    EXPECT_TRUE(present.Open());
    EXPECT_EQ(ERROR_SUCCESS, present.LastError());
    EXPECT_TRUE(present.Exists());  // already open
    present.Close();
    EXPECT_EQ(RegistryClosed, present.Status());
    EXPECT_TRUE(present.Exists());
    EXPECT_EQ(RegistryClosed, present.Status());

    RegistryKey missing(Below("Missing"));
    EXPECT_FALSE(missing.Exists());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, missing.LastError());
    EXPECT_EQ(RegistryUnused, missing.Status());
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, Below("Missing")));

    RegistryKey user(HKEY_CURRENT_USER, Below("Present"));
    EXPECT_FALSE(user.Exists());
}

TEST_F(RegistryKeyTest, ValueSizeGivesTheBytesOfTheValue) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kBase, "Text", "abc"));
    const DWORD number = 7;
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kBase, "Number", REG_DWORD, &number, 4));
    RegistryKey key(kBase);
    EXPECT_EQ(4u, key.ValueSize("Text"));
    EXPECT_EQ(RegistrySuccess, key.Status());
    EXPECT_EQ(4u, key.ValueSize("Number"));
    key.ValueSize("Missing");
    EXPECT_EQ(RegistryFailure, key.Status());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.LastError());
    RegistryKey missing(Below("Missing"));
    EXPECT_EQ(0u, missing.ValueSize("Text"));
    EXPECT_EQ(RegistryFailure, missing.Status());
}

TEST_F(RegistryKeyTest, QueryStringTakesOnlyStringValues) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kBase, "Text", "C:\\WINNT\\Profiles"));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kBase, "Empty", ""));
    const DWORD number = 0x41424344;
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kBase, "Number", REG_DWORD, &number, 4));
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kBase, "Expand", REG_EXPAND_SZ, "%SystemRoot%", 13));
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kBase, "Multi", REG_MULTI_SZ, "a\0b\0", 5));
    RegistryKey key(kBase);
    std::string text = "before";
    EXPECT_TRUE(key.QueryString("Text", text));
    EXPECT_EQ("C:\\WINNT\\Profiles", text);
    EXPECT_EQ(RegistrySuccess, key.Status());
    EXPECT_TRUE(key.QueryString("Empty", text));
    EXPECT_EQ("", text);

    for (const char* name : {"Number", "Expand", "Multi"}) {
        text = "before";
        EXPECT_TRUE(key.QueryString(name, text)) << name;
        EXPECT_EQ("before", text) << name;
        EXPECT_EQ(RegistryWrongType, key.Status()) << name;
    }
    EXPECT_FALSE(key.QueryString("Missing", text));
    EXPECT_EQ("before", text);
    EXPECT_EQ(RegistryFailure, key.Status());
    RegistryKey missing(Below("Missing"));
    EXPECT_FALSE(missing.QueryString("Text", text));
    EXPECT_EQ("before", text);
}

TEST_F(RegistryKeyTest, QueryStringStopsAtTheFirstNulOrTheEndOfTheData) {
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kBase, "Unended", REG_SZ, "abcdef", 3));
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kBase, "Embedded", REG_SZ, "ab\0cd", 6));
    RegistryKey key(kBase);
    std::string text;
    EXPECT_TRUE(key.QueryString("Unended", text));
    EXPECT_EQ("abc", text);
    EXPECT_TRUE(key.QueryString("Embedded", text));
    EXPECT_EQ("ab", text);
}

// Another program lengthens the value between the size query and the read.
const std::string kLongText(300, 'L');
int growCalls = 0;
LONG WINAPI GrowingQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size);
ImportPatch* growPatch = nullptr;

LONG WINAPI GrowingQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
    const LONG result =
        growPatch->Original<decltype(&RegQueryValueExA)>()(key, name, reserved, type, data, size);
    if (!data && growCalls++ == 0) WriteString(HKEY_LOCAL_MACHINE, kBase, name, kLongText);
    return result;
}

TEST_F(RegistryKeyTest, QueryStringReadsAValueThatGrewAfterItsSizeWasAsked) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kBase, "Text", "short"));
    growCalls = 0;
    ImportPatch patch("advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(GrowingQuery));
    ASSERT_TRUE(patch.Active());
    growPatch = &patch;
    RegistryKey key(kBase);
    std::string text;
    EXPECT_TRUE(key.QueryString("Text", text));
    EXPECT_EQ(kLongText, text);
    EXPECT_EQ(RegistrySuccess, key.Status());
}

TEST_F(RegistryKeyTest, SetDwordCreatesMissingKeysAndReportsNewOnes) {
    const std::string path = Below("One\\Two\\Three");
    RegistryKey key(path);
    EXPECT_TRUE(key.SetDword("Start", 4));
    EXPECT_TRUE(key.CreatedNew());
    EXPECT_EQ(RegistrySuccess, key.Status());
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, path, "Start", &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(std::string("\x04\0\0\0", 4), data);

    EXPECT_TRUE(key.SetDword("Start", 2));
    EXPECT_FALSE(key.CreatedNew());
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, path, "Start", &type, &data));
    EXPECT_EQ(std::string("\x02\0\0\0", 4), data);
}

TEST_F(RegistryKeyTest, DeleteValueRemovesOnlyThatValue) {
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kBase, "Gone", "x"));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kBase, "Kept", "y"));
    RegistryKey key(kBase);
    EXPECT_TRUE(key.DeleteValue("Gone"));
    EXPECT_FALSE(key.DeleteValue("Gone"));
    DWORD type;
    std::string data;
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kBase, "Gone", &type, &data));
    EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kBase, "Kept", &type, &data));
    EXPECT_FALSE(RegistryKey(Below("Missing")).DeleteValue("Kept"));
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, Below("Missing")));
}

TEST_F(RegistryKeyTest, WalkGoesByIndexAndKeepsAdvancingAfterTheLast) {
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Walk\\A")));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Walk\\B\\Deeper")));
    RegistryKey walk(Below("Walk"));
    EXPECT_EQ("A", walk.FirstSubkey());
    EXPECT_EQ("B", walk.NextSubkey());
    EXPECT_EQ("", walk.NextSubkey());  // index 2
    EXPECT_EQ("", walk.NextSubkey());  // index 3
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Walk\\C")));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Walk\\D")));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Walk\\E")));
    EXPECT_EQ("E", walk.NextSubkey());  // index 4: the walk went on past the end
    EXPECT_EQ("A", walk.FirstSubkey());
    EXPECT_EQ("B", walk.NextSubkey());

    // A subkey deleted during the walk moves the later ones down by one index.
    ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, Below("Walk\\B")));
    EXPECT_EQ("D", walk.NextSubkey());

    RegistryKey fresh(Below("Walk"));
    EXPECT_EQ("A", fresh.NextSubkey());  // a new object starts at index 0
    RegistryKey leaf(Below("Walk\\A"));
    EXPECT_EQ("", leaf.FirstSubkey());
    RegistryKey missing(Below("Missing"));
    EXPECT_EQ("", missing.FirstSubkey());
    EXPECT_EQ("", missing.NextSubkey());
}

TEST_F(RegistryKeyTest, WalkOfAKeyThatVanishesEnds) {
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Walk\\A")));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Walk\\B")));
    RegistryKey walk(Below("Walk"));
    EXPECT_EQ("A", walk.FirstSubkey());
    ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, Below("Walk")));
    EXPECT_EQ("", walk.NextSubkey());
    EXPECT_EQ("", walk.FirstSubkey());
    EXPECT_FALSE(walk.Exists());
    EXPECT_TRUE(walk.DeleteTree());
}

// The narrow registry calls take paths of at most 259 characters, so the longest names sit
// right below the root.
TEST_F(RegistryKeyTest, NamesOfTheLongestLengthAreWalkedAndDeleted) {
    const std::string longest(255, 'n');
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, "L\\" + longest));
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, "L\\" + std::string(200, 'm') + "\\x"));
    RegistryKey parent(HKEY_CURRENT_USER, "L");
    EXPECT_EQ(std::string(200, 'm'), parent.FirstSubkey());
    EXPECT_EQ(longest, parent.NextSubkey());
    RegistryKey child(HKEY_CURRENT_USER, "L\\" + longest);
    EXPECT_TRUE(child.SetDword("Value", 1));
    EXPECT_FALSE(child.CreatedNew());
    EXPECT_TRUE(parent.DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, "L"));
}

// Every registry call that names a key or the root, counted while the patch lives.
int rootCalls = 0;
LONG WINAPI CountedConnect(LPCSTR, HKEY, PHKEY) {
    ++rootCalls;
    return ERROR_ACCESS_DENIED;
}
LONG WINAPI CountedOpen(HKEY, LPCSTR, DWORD, REGSAM, PHKEY) {
    ++rootCalls;
    return ERROR_ACCESS_DENIED;
}
LONG WINAPI CountedCreate(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY,
                          LPDWORD) {
    ++rootCalls;
    return ERROR_ACCESS_DENIED;
}
LONG WINAPI CountedDelete(HKEY, LPCSTR) {
    ++rootCalls;
    return ERROR_ACCESS_DENIED;
}

TEST_F(RegistryKeyTest, EmptyPathNeverReachesTheRoot) {
    rootCalls = 0;
    ImportPatch connect("advapi32.dll", "RegConnectRegistryA",
                        reinterpret_cast<void*>(CountedConnect));
    ImportPatch open("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(CountedOpen));
    ImportPatch create("advapi32.dll", "RegCreateKeyExA", reinterpret_cast<void*>(CountedCreate));
    ImportPatch erase("advapi32.dll", "RegDeleteKeyA", reinterpret_cast<void*>(CountedDelete));
    ASSERT_TRUE(connect.Active() && open.Active() && create.Active() && erase.Active());
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        RegistryKey empty(root, "");
        std::string text = "unchanged";
        EXPECT_FALSE(empty.Open());
        EXPECT_FALSE(empty.Create());
        EXPECT_FALSE(empty.Exists());
        EXPECT_FALSE(empty.SetDword("Start", 4));
        EXPECT_FALSE(empty.QueryString("", text));
        EXPECT_EQ("unchanged", text);
        EXPECT_FALSE(empty.DeleteValue(""));
        EXPECT_EQ("", empty.FirstSubkey());
        EXPECT_EQ("", empty.NextSubkey());
        EXPECT_TRUE(empty.DeleteTree());
        EXPECT_FALSE(empty.DeleteRecursive(root, ""));
    }
    EXPECT_EQ(0, rootCalls);
}

// The keys RegDeleteKeyA was asked to delete, in order.
std::vector<std::string> deletedKeys;
ImportPatch* deletePatch = nullptr;
LONG WINAPI RecordedDelete(HKEY key, LPCSTR path) {
    deletedKeys.push_back(path);
    return deletePatch->Original<decltype(&RegDeleteKeyA)>()(key, path);
}

TEST_F(RegistryKeyTest, DeleteTreeDeletesTheDeepestKeysFirstAndTheNamedKeyLast) {
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Tree\\A\\A1\\A11")));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Tree\\A\\A2")));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, Below("Tree\\B"), "Value", "x"));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("TreeSibling")));
    deletedKeys.clear();
    ImportPatch patch("advapi32.dll", "RegDeleteKeyA", reinterpret_cast<void*>(RecordedDelete));
    deletePatch = &patch;
    RegistryKey tree(Below("Tree"));
    EXPECT_TRUE(tree.DeleteTree());
    const std::vector<std::string> expected = {Below("Tree\\A\\A1\\A11"), Below("Tree\\A\\A1"),
                                               Below("Tree\\A\\A2"),      Below("Tree\\A"),
                                               Below("Tree\\B"),          Below("Tree")};
    EXPECT_EQ(expected, deletedKeys);
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, Below("Tree")));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, Below("TreeSibling")));

    deletedKeys.clear();
    EXPECT_TRUE(RegistryKey(Below("Tree")).DeleteTree());  // missing: nothing to delete
    EXPECT_TRUE(deletedKeys.empty());
}

TEST_F(RegistryKeyTest, DeleteTreeStaysUnderItsOwnRoot) {
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Below("Tree\\Child\\Grandchild")));
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, Below("Tree\\Child\\Grandchild")));
    EXPECT_TRUE(RegistryKey(HKEY_CURRENT_USER, Below("Tree")).DeleteTree());
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, Below("Tree")));
    EXPECT_TRUE(KeyPresent(HKEY_LOCAL_MACHINE, Below("Tree\\Child\\Grandchild")));
    RemoveKey(HKEY_CURRENT_USER, kBase);
}
}  // namespace
