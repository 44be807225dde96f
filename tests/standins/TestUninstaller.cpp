// testuninstaller.exe: a product uninstaller of our own, registered as an "UninstallString", and
// the child of the process launch tests. Options, in any order, each followed by its argument
// (any other word is ignored, so the appended " -v -a" and a "-f" log path do no harm):
//   /record FILE      appends the whole command line, then CR LF, to FILE when it ends
//   /sleep MS         works for MS milliseconds first
//   /exit CODE        ends with CODE (259 included) instead of 0
//   /delete PATH      deletes the file, or the folder with everything in it, at PATH
//   /unregister KEY   deletes the key HKEY_LOCAL_MACHINE\KEY (its own uninstall entry)
//   /stamp FILE       writes the performance counter to FILE just before it ends
// It needs nothing but the kernel and the registry, so that it starts as fast as Wine can.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/RemoveTree.h"

namespace {
// The key below HKEY_LOCAL_MACHINE with everything in it.
void RemoveKey(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    for (DWORD length = sizeof name;
         RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         length = sizeof name)
        RemoveKey(path + "\\" + name);
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

void Write(const std::string& path, const std::string& text, const char* mode) {
    if (std::FILE* file = std::fopen(path.c_str(), mode)) {
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
}
}  // namespace

int main(int argc, char** argv) {
    std::string record, stamp;
    DWORD sleep = 0;
    int code = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "/record") {
            record = value;
        } else if (option == "/sleep") {
            sleep = std::strtoul(value.c_str(), nullptr, 10);
        } else if (option == "/exit") {
            code = std::atoi(value.c_str());
        } else if (option == "/delete") {
            RemoveTree(value);
        } else if (option == "/unregister") {
            RemoveKey(value);
        } else if (option == "/stamp") {
            stamp = value;
        } else {
            --i;
        }
    }
    Sleep(sleep);
    if (!record.empty()) Write(record, std::string(GetCommandLineA()) + "\r\n", "ab");
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (!stamp.empty()) Write(stamp, std::to_string(now.QuadPart), "wb");
    return code;
}
