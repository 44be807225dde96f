// REGEDIT4 text: each kind of value as written, a tree carried through the text by this import and
// by the prefix's own regedit, values written as deleted, and the import's report. Everything
// happens below HKCU\K, which stays behind in the test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/Machine.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegFileText.h"

namespace {
const std::string kValues = "K\\Values", kTree = "K\\Tree";
// The keys of the tree that hold every value of the table; the tree also has an empty key.
const char* const kTreeValueKeys[] = {"K\\Tree", "K\\Tree\\Sub\\Deeper"};

struct ValueCase {
    std::string name;
    DWORD type;
    std::string data, line, regeditData;
};

std::vector<ValueCase> ValueCases() {
    std::vector<ValueCase> cases;
    for (const auto& row : CaseTable("sysaccess\\regfile.txt"))
        cases.push_back({row[0] == "@" ? "" : row[0], std::stoul(row[1], nullptr, 16), row[2],
                         row[3], row.size() > 4 ? row[4] : row[2]});
    return cases;
}

// The byte after the data is not a NUL, which the ANSI call would add to string data.
void WriteValueCases(const std::string& path) {
    for (const ValueCase& value : ValueCases())
        ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, path, value.name, value.type,
                               (value.data + '?').data(), static_cast<DWORD>(value.data.size())))
            << value.name;
}

void IgnoreReport(const char*, const std::string&, LONG) {}

TEST(RegFileTextTest, EachKindOfValueIsWrittenAsRegeditWritesIt) {
    WriteValueCases(kValues);
    for (const ValueCase& value : ValueCases()) {
        std::string text;
        EXPECT_TRUE(ExportValue(HKEY_CURRENT_USER, kValues, value.name, text)) << value.name;
        EXPECT_EQ("[HKEY_CURRENT_USER\\K\\Values]\r\n" + value.line + "\r\n\r\n", text)
            << value.name;
    }
}

TEST(RegFileTextTest, ATreeComesBackTypeForTypeAndByteForByteThroughEitherImport) {
    for (const char* key : kTreeValueKeys) WriteValueCases(key);
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, kTree + "\\Empty"));
    std::string text = kRegedit4Header;
    ASSERT_TRUE(ExportKeyTree(HKEY_CURRENT_USER, kTree, text));
    const std::vector<std::pair<std::string, std::function<bool()>>> imports = {
        {"ImportRegText", [&] { return ImportRegText(text, IgnoreReport); }},
        {"regedit",
         [&] { return WriteWholeFile("C:\\tree.reg", text) && ImportRegFile("C:\\tree.reg"); }}};
    for (const auto& import : imports) {
        ASSERT_TRUE(RemoveKey(HKEY_CURRENT_USER, kTree));
        EXPECT_TRUE(import.second()) << import.first;
        for (const char* key : kTreeValueKeys)
            for (const ValueCase& value : ValueCases()) {
                DWORD type = REG_NONE;
                std::string data;
                const std::string where = import.first + ": " + key + "\\" + value.name;
                EXPECT_TRUE(ReadValue(HKEY_CURRENT_USER, key, value.name, &type, &data)) << where;
                EXPECT_EQ(value.type, type) << where;
                EXPECT_EQ(import.first == "regedit" ? value.regeditData : value.data, data)
                    << where;
            }
        EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, kTree + "\\Empty")) << import.first;
    }
}

TEST(RegFileTextTest, AMissingValueIsWrittenAsDeletedAndImportingThatDeletesIt) {
    const std::string key = "K\\Deleted";
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, key));
    std::string text = kRegedit4Header;
    EXPECT_TRUE(ExportValue(HKEY_CURRENT_USER, key, "Later", text));
    EXPECT_TRUE(ExportValue(HKEY_CURRENT_USER, key, "", text));
    EXPECT_EQ(std::string(kRegedit4Header) +
                  "[HKEY_CURRENT_USER\\K\\Deleted]\r\n\"Later\"=-\r\n\r\n"
                  "[HKEY_CURRENT_USER\\K\\Deleted]\r\n@=-\r\n\r\n",
              text);
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, key, "Later", "came later"));
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, key, "", "came later"));
    // A value already gone counts as deleted: the second import succeeds as well.
    for (int import = 0; import < 2; ++import) {
        EXPECT_TRUE(ImportRegText(text, IgnoreReport)) << import;
        DWORD type;
        std::string data;
        EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, key, "Later", &type, &data)) << data;
        EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, key, "", &type, &data)) << data;
    }
    // A key that cannot be opened gives nothing.
    std::string unchanged = "unchanged";
    EXPECT_FALSE(ExportValue(HKEY_CURRENT_USER, "K\\Absent", "Later", unchanged));
    EXPECT_FALSE(ExportKeyTree(HKEY_CURRENT_USER, "K\\Absent", unchanged));
    EXPECT_EQ("unchanged", unchanged);
}

// A key or value name with a line break would split its line: nothing is written, and the last
// error says why.
TEST(RegFileTextTest, ANameWithALineBreakIsNotExported) {
    const std::string key = "K\\Broken";
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, key + "\\one\nkey"));
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, key + "\\Values", "two\r\nlines", "x"));
    std::string unchanged = "unchanged";
    for (const std::string& tree : {key, key + "\\Values"}) {
        EXPECT_FALSE(ExportKeyTree(HKEY_CURRENT_USER, tree, unchanged)) << tree;
        EXPECT_EQ(kNameWithLineBreak, GetLastError()) << tree;
    }
    EXPECT_FALSE(ExportValue(HKEY_CURRENT_USER, key + "\\Values", "two\r\nlines", unchanged));
    EXPECT_EQ(kNameWithLineBreak, GetLastError());
    EXPECT_EQ("unchanged", unchanged);
}

TEST(RegFileTextTest, TheImportReportsEveryKeyAndValueOnceAndEachLineItCannotRead) {
    std::string calls;
    const RegImportReport report = [&](const char* kind, const std::string& item, LONG result) {
        calls += std::string(kind) + " " + item + " " + std::to_string(result) + "\n";
    };
    // As regedit writes it, with a comment, a wrapped line and lines it cannot read.
    const std::string text =
        "REGEDIT4\r\n\r\n; saved before the cleanup\r\n"
        "[HKEY_CURRENT_USER\\K\\Report]\r\n@=\"x\"\r\n\"Wrapped\"=hex:01,\\\r\n  02\r\n"
        "\"Bad\"=dword:1x\r\n\r\n[HKEY_CURRENT_USER\\K\\Report\\Sub]\r\n\"Gone\"=-\r\n\r\n"
        "[HKEY_NOWHERE\\K]\r\n\"Lost\"=\"y\"\r\n";
    EXPECT_FALSE(ImportRegText(text, report));
    EXPECT_EQ(
        "key HKEY_CURRENT_USER\\K\\Report 0\n"
        "value HKEY_CURRENT_USER\\K\\Report\\@ 0\n"
        "value HKEY_CURRENT_USER\\K\\Report\\Wrapped 0\n"
        "value \"Bad\"=dword:1x 13\n"
        "key HKEY_CURRENT_USER\\K\\Report\\Sub 0\n"
        "value HKEY_CURRENT_USER\\K\\Report\\Sub\\Gone 0\n"
        "key [HKEY_NOWHERE\\K] 13\n"
        "value \"Lost\"=\"y\" 13\n",
        calls);
    DWORD type = REG_NONE;
    std::string data;
    EXPECT_TRUE(ReadValue(HKEY_CURRENT_USER, "K\\Report", "Wrapped", &type, &data));
    EXPECT_EQ(std::string("\x01\x02"), data);
    // Without its header the text is not applied at all.
    calls.clear();
    EXPECT_FALSE(ImportRegText(text.substr(10), report));
    EXPECT_EQ("", calls);
}
}  // namespace
