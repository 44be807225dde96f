#include "base/ProgramsFolders.h"

#include <windows.h>

#include "base/ReadOnlyKey.h"
#include "base/SystemQueries.h"

namespace {
const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Display name of the help-file type, which tells the language of the system, and the
// all-users Programs folder of that language (byte strings: code page 1252, last row 932).
struct LocalizedFolder {
    const char* helpFileName;
    const char* folder;
};
const LocalizedFolder kLocalizedFolders[] = {
    {"Fichier d'aide", "Profiles\\All Users\\Menu D\xE9marrer\\Programmes"},
    {"Archivo de ayuda", "Profiles\\All Users\\Men\xFA Inicio\\Programas"},
    {"Hilfedatei", "Profiles\\All Users\\Startmen\xFC\\Programme"},
    {"\xCD\xD9\xCC\xDF \xCC\xA7\xB2\xD9",
     "Profiles\\All Users\\\xBD\xC0\xB0\xC4 \xD2\xC6\xAD\xB0\\\xCC\xDF\xDB\xB8\xDE\xD7\xD1"},
};

std::string ProgramsFolder(HKEY root, const char* valueName) {
    const std::string base = WindowsDirectory();
    std::string result = base + "Profiles\\All Users\\Start Menu\\Programs";
    ReadOnlyKey(root, kShellFolders).QueryString(valueName, result);
    ReadOnlyKey helpFile(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\helpfile");
    if (!helpFile.IsOpen()) return result;
    std::string name;
    helpFile.QueryString("", name);
    if (name == "Help File") return result;
    for (const LocalizedFolder& localized : kLocalizedFolders) {
        if (name == localized.helpFileName) result = base + localized.folder;
    }
    return result;
}
}  // namespace

std::string CommonProgramsFolder() {
    return ProgramsFolder(HKEY_LOCAL_MACHINE, "Common Programs");
}

std::string UserProgramsFolder() {
    return ProgramsFolder(HKEY_CURRENT_USER, "Programs");
}
