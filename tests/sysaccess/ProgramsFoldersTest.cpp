// The Start-menu Programs folders from Wine's registry, on English and localized systems.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "run/SystemQueries.h"
#include "support/RegistryEdit.h"
#include "sysaccess/ProgramsFolders.h"
#include "sysaccess/RegistryKey.h"

namespace {
const char kShell[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Writes the value as text ("%...": expandable), or deletes it for null.
void Put(HKEY root, const char* path, const char* name, const char* text) {
    RegistryKey(root, path).DeleteValue(name);
    if (text)
        WriteValue(root, path, name, *text == '%' ? REG_EXPAND_SZ : REG_SZ, text, strlen(text) + 1);
}

// Folders starting with '*' are below the Windows directory's "Profiles\All Users"; a null user
// folder is the common one. Code page 1252 for French, Spanish and German, 932 for Japanese.
TEST(ProgramsFoldersTest, StoredStringValuesUnlessTheHelpFileTypeNamesALocalizedSystem) {
    const struct {
        const char* values[3];  // help-file type name, common and user Shell Folders values
        const char *expectedCommon, *expectedUser;
    } cases[] = {
        {{"Help File", "D:\\C", "D:\\U"}, "D:\\C", "D:\\U"},
        {{"Help File", nullptr, "D:\\U"}, "*Start Menu\\Programs", "D:\\U"},
        {{"Help File", "%C", "%U"}, "*Start Menu\\Programs", nullptr},
        {{"Fichier d'aide", "D:\\C", nullptr}, "*Menu D\xE9marrer\\Programmes", nullptr},
        {{"Archivo de ayuda", "D:\\C", "D:\\U"}, "*Men\xFA Inicio\\Programas", nullptr},
        {{"Hilfedatei", nullptr, nullptr}, "*Startmen\xFC\\Programme", nullptr},
        {{"\xCD\xD9\xCC\xDF \xCC\xA7\xB2\xD9", nullptr, "D:\\U"},
         "*\xBD\xC0\xB0\xC4 \xD2\xC6\xAD\xB0\\\xCC\xDF\xDB\xB8\xDE\xD7\xD1",
         nullptr},
        {{"Hilfedatei ", "D:\\C", "D:\\U"}, "D:\\C", "D:\\U"},
        {{"hilfedatei", "D:\\C", "D:\\U"}, "D:\\C", "D:\\U"},
        {{"%Hilfedatei", "D:\\C", "D:\\U"}, "D:\\C", "D:\\U"},
        {{nullptr, "D:\\C", "D:\\U"}, "D:\\C", "D:\\U"},
    };
    const struct {
        HKEY root;
        const char *path, *name;
    } places[] = {{HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\helpfile", ""},
                  {HKEY_LOCAL_MACHINE, kShell, "Common Programs"},
                  {HKEY_CURRENT_USER, kShell, "Programs"}};
    std::string saved[3];  // empty for none
    DWORD type;
    for (int i = 0; i < 3; ++i)
        ReadValue(places[i].root, places[i].path, places[i].name, &type, &saved[i]);
    const auto folder = [](const char* expected) {
        if (*expected != '*') return std::string(expected);
        return WindowsDirectory() + "Profiles\\All Users\\" + (expected + 1);
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i)
            Put(places[i].root, places[i].path, places[i].name, c.values[i]);
        const std::string name = c.values[0] ? c.values[0] : "(none)";
        EXPECT_EQ(folder(c.expectedCommon), CommonProgramsFolder()) << name;
        EXPECT_EQ(folder(c.expectedUser ? c.expectedUser : c.expectedCommon), UserProgramsFolder())
            << name;
    }
    for (int i = 0; i < 3; ++i)
        Put(places[i].root, places[i].path, places[i].name,
            saved[i].empty() ? nullptr : saved[i].c_str());
}
}  // namespace
