// Size of oberin.exe (goal: under 400 KB) and the libraries it imports, each of which must be
// a system library of Windows NT 4.0.
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

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The names in the import directory of a 32-bit image.
std::vector<std::string> ImportedLibraries(const std::string& image) {
    std::vector<std::string> names;
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) return names;
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
        names.push_back(image.c_str() + offsetOf(entry->Name));
    }
    return names;
}
}  // namespace

bool ProgramSizeBench() {
    const std::string image = ReadWholeFile(BinDir() + "\\oberin.exe");
    const std::vector<std::string> libraries = ImportedLibraries(image);
    std::string list, foreign;
    for (const std::string& name : libraries) {
        list += (list.empty() ? "" : ", ") + name;
        if (std::none_of(std::begin(kNt4Libraries), std::end(kNt4Libraries),
                         [&](const char* known) { return Lower(name) == known; }))
            foreign += " " + name;
    }
    std::printf("oberin.exe: %.1f KB (goal under 400 KB); imports %s; %s\n", image.size() / 1024.0,
                list.c_str(),
                foreign.empty() ? "all are system libraries of Windows NT 4.0"
                                : ("not in Windows NT 4.0:" + foreign).c_str());
    return !image.empty() && !libraries.empty();
}
