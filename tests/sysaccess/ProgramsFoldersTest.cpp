// The Start-menu Programs folders from Wine's registry, on English and localized systems.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/SystemQueries.h"
#include "support/RegistryEdit.h"
#include "sysaccess/ProgramsFolders.h"

namespace {
const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kHelpFile[] = "SOFTWARE\\Classes\\helpfile";

// The values of one key (no subkeys), put back as they were when the object goes.
class KeyBackup {
  public:
    KeyBackup(HKEY root, const std::string& path) : root_(root), path_(path) {
        HKEY key;
        present_ = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (!present_) return;
        for (DWORD i = 0;; ++i) {
            char name[16384];
            BYTE data[4096];
            DWORD nameLength = sizeof name, size = sizeof data, type = 0;
            if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &size) !=
                ERROR_SUCCESS)
                break;
            values_.push_back({std::string(name, nameLength), type,
                               std::string(reinterpret_cast<char*>(data), size)});
        }
        RegCloseKey(key);
    }
    ~KeyBackup() {
        RemoveKey(root_, path_);
        if (!present_) return;
        MakeKey(root_, path_);
        for (const Value& value : values_)
            WriteValue(root_, path_, value.name, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    }

  private:
    struct Value {
        std::string name;
        DWORD type;
        std::string data;
    };
    HKEY root_;
    std::string path_;
    bool present_ = false;
    std::vector<Value> values_;
};

class ProgramsFoldersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs",
                                "D:\\Start\\Common Programs"));
        ASSERT_TRUE(
            WriteString(HKEY_CURRENT_USER, kShellFolders, "Programs", "D:\\Start\\My Programs"));
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kHelpFile, "", "Help File"));
    }
    void HelpFileName(const std::string& name) {
        ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kHelpFile, "", name));
    }
    const std::string windows_ = WindowsDirectory();
    const std::string allUsers_ = windows_ + "Profiles\\All Users\\Start Menu\\Programs";

    KeyBackup machineFolders_{HKEY_LOCAL_MACHINE, kShellFolders};
    KeyBackup userFolders_{HKEY_CURRENT_USER, kShellFolders};
    KeyBackup helpFile_{HKEY_LOCAL_MACHINE, kHelpFile};
};

TEST_F(ProgramsFoldersTest, ShellFoldersValuesAreTakenAsStored) {
    EXPECT_EQ("D:\\Start\\Common Programs", CommonProgramsFolder());
    EXPECT_EQ("D:\\Start\\My Programs", UserProgramsFolder());
}

TEST_F(ProgramsFoldersTest, MissingShellFoldersGiveTheAllUsersFolder) {
    ASSERT_TRUE(RemoveKey(HKEY_CURRENT_USER, kShellFolders));
    EXPECT_EQ("D:\\Start\\Common Programs", CommonProgramsFolder());
    EXPECT_EQ(allUsers_, UserProgramsFolder());
    ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kShellFolders));
    EXPECT_EQ(allUsers_, CommonProgramsFolder());
    EXPECT_EQ(allUsers_, UserProgramsFolder());
}

TEST_F(ProgramsFoldersTest, OnlyStringValuesAreTaken) {
    const char expandable[] = "%SystemRoot%\\Start";
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", REG_EXPAND_SZ,
                           expandable, sizeof expandable));
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, kShellFolders, "Programs", REG_EXPAND_SZ, expandable,
                           sizeof expandable));
    EXPECT_EQ(allUsers_, CommonProgramsFolder());
    EXPECT_EQ(allUsers_, UserProgramsFolder());
    // Each reads its own value only.
    ASSERT_TRUE(WriteString(HKEY_CURRENT_USER, kShellFolders, "Common Programs", "D:\\Wrong"));
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, kShellFolders, "Programs", "D:\\Wrong"));
    EXPECT_EQ(allUsers_, CommonProgramsFolder());
    EXPECT_EQ(allUsers_, UserProgramsFolder());
}

TEST_F(ProgramsFoldersTest, LocalizedSystemsGetTheirFixedAllUsersFolder) {
    struct Language {
        const char* helpFileName;
        const char* folder;
    };
    // Code page 1252 for the first three, half-width katakana of code page 932 for the last.
    const Language languages[] = {
        {"Fichier d'aide", "Profiles\\All Users\\Menu D\xE9marrer\\Programmes"},
        {"Archivo de ayuda", "Profiles\\All Users\\Men\xFA Inicio\\Programas"},
        {"Hilfedatei", "Profiles\\All Users\\Startmen\xFC\\Programme"},
        {"\xCD\xD9\xCC\xDF\x20\xCC\xA7\xB2\xD9",
         "Profiles\\All Users\\\xBD\xC0\xB0\xC4\x20\xD2\xC6\xAD\xB0\x5C\xCC\xDF\xDB\xB8\xDE\xD7"
         "\xD1"},
    };
    for (const Language& language : languages) {
        HelpFileName(language.helpFileName);
        EXPECT_EQ(windows_ + language.folder, CommonProgramsFolder()) << language.helpFileName;
        EXPECT_EQ(windows_ + language.folder, UserProgramsFolder()) << language.helpFileName;
    }
}

TEST_F(ProgramsFoldersTest, OtherLanguagesKeepTheShellFoldersValue) {
    for (const char* name : {"File della Guida", "", "Hilfedatei ", "hilfedatei", "Help file"}) {
        HelpFileName(name);
        EXPECT_EQ("D:\\Start\\Common Programs", CommonProgramsFolder()) << name;
        EXPECT_EQ("D:\\Start\\My Programs", UserProgramsFolder()) << name;
    }
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHelpFile, 0, KEY_ALL_ACCESS, &key));
    RegDeleteValueA(key, "");
    RegCloseKey(key);
    EXPECT_EQ("D:\\Start\\Common Programs", CommonProgramsFolder());
    const DWORD number = 1;
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, kHelpFile, "", REG_DWORD, &number, 4));
    EXPECT_EQ("D:\\Start\\Common Programs", CommonProgramsFolder());
    ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kHelpFile));
    EXPECT_EQ("D:\\Start\\Common Programs", CommonProgramsFolder());
    EXPECT_EQ("D:\\Start\\My Programs", UserProgramsFolder());
}

TEST_F(ProgramsFoldersTest, UserFolderOnALocalizedSystemIsTheAllUsersOne) {
    HelpFileName("Fichier d'aide");
    ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kShellFolders));
    EXPECT_EQ(windows_ + "Profiles\\All Users\\Menu D\xE9marrer\\Programmes", UserProgramsFolder());
}
}  // namespace
