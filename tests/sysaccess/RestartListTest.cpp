// The restart list (restartlist.txt): a run's deletion found as the system registered it and
// taken off alone, compared as full paths, while every other entry keeps its bytes.
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "sysaccess/RestartList.h"

namespace {
const wchar_t kList[] = L"PendingFileRenameOperations";

std::wstring Wide(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], int(text.size())));
    return text;
}

// The value's data for a list written as in the table; empty for "(none)".
std::wstring Value(const std::string& list) {
    std::wstring value;
    for (std::size_t start = 0, end = 0; list != "(none)" && end != std::string::npos;
         start = end + 3) {
        end = list.find(" ; ", start);
        const std::string pair = list.substr(start, end - start);
        value += Wide(pair.substr(0, pair.find('>'))) + L'\0' +
                 Wide(pair.substr(pair.find('>') + 1)) + L'\0';
    }
    return value.empty() ? value : value + L'\0';
}

HKEY SessionManager() {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                  KEY_ALL_ACCESS, &key);
    return key;
}
}  // namespace

TEST(RestartListTest, ARunsDeletionIsTakenOffAloneByItsFullPath) {
    const HKEY key = SessionManager();
    FreshFolder("C:\\Velmora\\Programs");
    for (const auto& row : CaseTable("sysaccess\\restartlist.txt")) {
        const std::wstring before = Value(row[0]);
        RegDeleteValueW(key, kList);
        if (!before.empty())
            RegSetValueExW(key, kList, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(&before[0]),
                           DWORD(before.size() * sizeof(wchar_t)));
        bool found = false;
        if (row[1] == "schedule") {
            ASSERT_TRUE(WriteWholeFile(row[2], "x") &&
                        MoveFileExA(row[2].c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
        }
        if (row[1] == "take off") {
            const std::wstring entry = Wide(row[2]);
            EXPECT_EQ(ERROR_SUCCESS,
                      TakeOffRestartList(RestartName(entry.begin(), entry.end()), found))
                << row[2];
            EXPECT_EQ(row[3] == "found", found) << row[2];
        } else {
            const RestartName entry = RegisteredDeletion(row[2]);
            EXPECT_EQ(row[3] == "(none)" ? L"" : Wide(row[3]),
                      std::wstring(entry.begin(), entry.end()))
                << row[2];
            if (row[1] == "schedule") TakeOffRestartList(entry, found);
        }
        std::wstring after(32768, L'\0');
        DWORD size = DWORD(after.size() * sizeof(wchar_t)), type = REG_NONE;
        if (RegQueryValueExW(key, kList, nullptr, &type, reinterpret_cast<BYTE*>(&after[0]),
                             &size) != ERROR_SUCCESS)
            size = 0;
        after.resize(size / sizeof(wchar_t));
        EXPECT_EQ(Value(row[4]), after) << row[2];
        EXPECT_TRUE(!size || type == REG_MULTI_SZ) << row[2];
    }
    RegDeleteValueW(key, kList);
    RegCloseKey(key);
    RemoveTree("C:\\Velmora");
}
