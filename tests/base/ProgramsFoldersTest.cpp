// The Start-menu Programs folders on English and localized systems (programsfolders.txt).
#include <gtest/gtest.h>

#include <cstring>

#include "base/ProgramsFolders.h"
#include "support/Machine.h"
#include "support/MachinePaths.h"
#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kShell[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const struct {
    HKEY root;
    const char *path, *name;
} kPlaces[] = {{HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\helpfile", ""},
               {HKEY_LOCAL_MACHINE, kShell, "Common Programs"},
               {HKEY_CURRENT_USER, kShell, "Programs"}};

// Writes the text as the value of place i ("%...": expandable), or deletes it for "-".
void Put(int i, const std::string& text) {
    RegistryKey(kPlaces[i].root, kPlaces[i].path).DeleteValue(kPlaces[i].name);
    if (text != "-")
        WriteValue(kPlaces[i].root, kPlaces[i].path, kPlaces[i].name,
                   text[0] == '%' ? REG_EXPAND_SZ : REG_SZ, text.c_str(), strlen(text.c_str()) + 1);
}

TEST(ProgramsFoldersTest, StoredStringValuesUnlessTheHelpFileTypeNamesALocalizedSystem) {
    std::string saved[3] = {"-", "-", "-"};  // what a value that cannot be read leaves
    DWORD type;
    for (int i = 0; i < 3; ++i)
        ReadValue(kPlaces[i].root, kPlaces[i].path, kPlaces[i].name, &type, &saved[i]);
    for (const auto& row : CaseTable("base\\programsfolders.txt")) {
        for (int i = 0; i < 3; ++i) Put(i, row[i]);
        EXPECT_EQ(ExpandMachinePath(row[3]), CommonProgramsFolder()) << row[0];
        EXPECT_EQ(ExpandMachinePath(row[4]), UserProgramsFolder()) << row[0];
    }
    for (int i = 0; i < 3; ++i) Put(i, saved[i]);
}
}  // namespace
