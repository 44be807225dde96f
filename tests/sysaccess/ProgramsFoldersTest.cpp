// The Start-menu Programs folders from Wine's registry, on English and localized systems.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "run/SystemQueries.h"
#include "support/RegistryEdit.h"
#include "sysaccess/ProgramsFolders.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// One value: a string ("%..." expandable) or none; put back as it was at the end.
class ValueEdit {
  public:
    ValueEdit(HKEY root, const char* path, const char* name)
        : root_(root),
          path_(path),
          name_(name),
          saved_(ReadValue(root, path, name, &type_, &data_)) {}
    ~ValueEdit() {
        Set(nullptr);
        if (saved_) WriteValue(root_, path_, name_, type_, data_.data(), DWORD(data_.size()));
    }
    void Set(const char* text) {
        if (!text) return RegistryKey(root_, path_).DeleteValue(name_), void();
        WriteValue(root_, path_, name_, *text == '%' ? REG_EXPAND_SZ : REG_SZ, text,
                   DWORD(strlen(text) + 1));
    }

  private:
    HKEY root_;
    const char *path_, *name_;
    DWORD type_ = 0;
    std::string data_;
    bool saved_;
};

// Folders starting with '*' are below the Windows directory's "Profiles\All Users"; a null user
// folder is the common one. Code page 1252 for French, Spanish and German, 932 for Japanese.
TEST(ProgramsFoldersTest, StoredStringValuesUnlessTheHelpFileTypeNamesALocalizedSystem) {
    const char* const kAllUsers = "*Start Menu\\Programs";
    const struct {
        const char *helpFile, *common, *user, *expectedCommon, *expectedUser;
    } cases[] = {
        {"Help File", "D:\\C", "D:\\U", "D:\\C", "D:\\U"},
        {"Help File", nullptr, "D:\\U", kAllUsers, "D:\\U"},
        {"Help File", "D:\\C", nullptr, "D:\\C", kAllUsers},
        {"Help File", "%SystemRoot%", "%SystemRoot%", kAllUsers, kAllUsers},
        {"Fichier d'aide", "D:\\C", nullptr, "*Menu D\xE9marrer\\Programmes", nullptr},
        {"Archivo de ayuda", "D:\\C", "D:\\U", "*Men\xFA Inicio\\Programas", nullptr},
        {"Hilfedatei", nullptr, nullptr, "*Startmen\xFC\\Programme", nullptr},
        {"\xCD\xD9\xCC\xDF \xCC\xA7\xB2\xD9", "D:\\C", "D:\\U",
         "*\xBD\xC0\xB0\xC4 \xD2\xC6\xAD\xB0\\\xCC\xDF\xDB\xB8\xDE\xD7\xD1", nullptr},
        {"File della Guida", "D:\\C", "D:\\U", "D:\\C", "D:\\U"},
        {"Hilfedatei ", "D:\\C", "D:\\U", "D:\\C", "D:\\U"},
        {"hilfedatei", "D:\\C", "D:\\U", "D:\\C", "D:\\U"},
        {"%Hilfedatei", "D:\\C", "D:\\U", "D:\\C", "D:\\U"},
        {nullptr, "D:\\C", "D:\\U", "D:\\C", "D:\\U"},
    };
    ValueEdit helpFile(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\helpfile", "");
    ValueEdit common(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
    ValueEdit user(HKEY_CURRENT_USER, kShellFolders, "Programs");
    const auto folder = [](const char* expected) {
        if (*expected != '*') return std::string(expected);
        return WindowsDirectory() + "Profiles\\All Users\\" + (expected + 1);
    };
    for (const auto& c : cases) {
        helpFile.Set(c.helpFile);
        common.Set(c.common);
        user.Set(c.user);
        const std::string name = c.helpFile ? c.helpFile : "(none)";
        EXPECT_EQ(folder(c.expectedCommon), CommonProgramsFolder()) << name;
        EXPECT_EQ(folder(c.expectedUser ? c.expectedUser : c.expectedCommon), UserProgramsFolder())
            << name;
    }
}
}  // namespace
