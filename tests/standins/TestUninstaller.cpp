// testuninstaller.exe: a product uninstaller of our own, registered as an "UninstallString".
// Options, in any order, each followed by its argument (any other word is ignored, so the
// appended " -v -a" and a "-f" log path do no harm):
//   /record FILE      appends the whole command line, then CR LF, to FILE when it ends
//   /sleep MS         works for MS milliseconds first
//   /exit CODE        ends with CODE (259 included) instead of 0
//   /delete PATH      deletes the file, or the folder with everything in it, at PATH
//   /unregister KEY   deletes the key HKEY_LOCAL_MACHINE\KEY (its own uninstall entry)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
void DeleteTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") DeleteTree(path + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

void DeleteKeyTree(HKEY parent, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char child[256];
    DWORD length = sizeof child;
    while (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
        DeleteKeyTree(key, child);
        length = sizeof child;
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, path.c_str());
}
}  // namespace

int main(int argc, char** argv) {
    const char* record = nullptr;
    DWORD sleep = 0;
    int code = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        const char* option = argv[i];
        const char* value = argv[i + 1];
        if (std::strcmp(option, "/record") == 0) {
            record = value;
        } else if (std::strcmp(option, "/sleep") == 0) {
            sleep = std::strtoul(value, nullptr, 10);
        } else if (std::strcmp(option, "/exit") == 0) {
            code = std::atoi(value);
        } else if (std::strcmp(option, "/delete") == 0) {
            DeleteTree(value);
        } else if (std::strcmp(option, "/unregister") == 0) {
            DeleteKeyTree(HKEY_LOCAL_MACHINE, value);
        } else {
            continue;
        }
        ++i;
    }
    if (sleep) Sleep(sleep);
    if (record) {
        if (std::FILE* file = std::fopen(record, "ab")) {
            std::fprintf(file, "%s\r\n", GetCommandLineA());
            std::fclose(file);
        }
    }
    return code;
}
