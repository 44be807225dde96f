// Size of oberin.exe (goal: under 400 KB) and what it imports: only system libraries of
// Windows NT 4.0, and none of the runtime functions that came after it.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Benchmarks.h"
#include "support/Machine.h"

namespace {
// The system libraries of a Windows NT 4.0 installation that a program like this may use.
const char* const kNt4Libraries[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",  "advapi32.dll",
                                     "shell32.dll",  "comctl32.dll", "msvcrt.dll", "comdlg32.dll",
                                     "ole32.dll",    "version.dll",  "ntdll.dll"};

// Functions the mingw-w64 runtimes may call that came after Windows NT 4.0; an import of any of
// them keeps the program from loading there.
const char* const kAfterNt4Functions[] = {"GetTickCount64",
                                          "AddVectoredExceptionHandler",
                                          "RemoveVectoredExceptionHandler",
                                          "GetModuleHandleExA",
                                          "GetModuleHandleExW",
                                          "InitializeCriticalSectionEx",
                                          "GetSystemTimePreciseAsFileTime",
                                          "SetThreadDescription",
                                          "GetFileSizeEx"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The libraries in the import directory of a 32-bit image, and the functions imported by name.
void ReadImports(const std::string& image, std::vector<std::string>* libraries,
                 std::vector<std::string>* functions) {
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) return;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const auto* sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> std::size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress &&
                rva < section.VirtualAddress + section.Misc.VirtualSize)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return 0;
    };
    for (std::size_t at = offsetOf(directory.VirtualAddress); at && at < image.size();
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (!entry->Name) break;
        libraries->push_back(image.c_str() + offsetOf(entry->Name));
        const DWORD thunks =
            entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
        for (std::size_t thunk = offsetOf(thunks); thunk && thunk + 4 <= image.size(); thunk += 4) {
            const DWORD value = *reinterpret_cast<const DWORD*>(image.data() + thunk);
            if (!value) break;
            if (!(value & IMAGE_ORDINAL_FLAG32))
                functions->push_back(image.c_str() + offsetOf(value) + 2);  // after the hint
        }
    }
}
}  // namespace

bool ProgramSizeBench() {
    const std::string image = ReadWholeFile(BinDir() + "\\oberin.exe");
    std::vector<std::string> libraries, functions;
    ReadImports(image, &libraries, &functions);
    std::string list, foreign;
    for (const std::string& name : libraries) {
        list += (list.empty() ? "" : ", ") + name;
        if (std::none_of(std::begin(kNt4Libraries), std::end(kNt4Libraries),
                         [&](const char* known) { return Lower(name) == known; }))
            foreign += " " + name;
    }
    for (const std::string& name : functions) {
        if (std::any_of(std::begin(kAfterNt4Functions), std::end(kAfterNt4Functions),
                        [&](const char* newer) { return name == newer; }))
            foreign += " " + name;
    }
    std::printf("oberin.exe: %.1f KB (goal under 400 KB); imports %zu functions from %s; %s\n",
                image.size() / 1024.0, functions.size(), list.c_str(),
                foreign.empty() ? "all are system libraries of Windows NT 4.0, and none of the "
                                  "functions is newer"
                                : ("not in Windows NT 4.0:" + foreign).c_str());
    return !image.empty() && !libraries.empty();
}
