#include "restore/RestoredMark.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/ScopedHandle.h"
#include "restore/KitLayout.h"
#include "sysaccess/FileOperations.h"

bool WriteRestoredMark(const std::string& kit, unsigned restored, unsigned items) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char line[128];
    std::snprintf(line, sizeof line,
                  "Restored %04u-%02u-%02u %02u:%02u:%02u UTC: %u of %u items restored.\r\n",
                  now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, restored,
                  items);
    FileHandle file(CreateFileA((kit + "\\" + kit::kMark).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    const DWORD size = DWORD(std::strlen(line));
    DWORD written = 0;
    const bool whole = WriteFile(file.Get(), line, size, &written, nullptr) && written == size;
    return file.Close() && whole;
}

bool RestoredWhole(const std::string& kit) {
    std::string text;
    if (!ReadFileText(kit + "\\" + kit::kMark, text)) return false;
    // "... UTC: K of N items restored.": whole when K is N.
    const std::size_t colon = text.find("UTC: ");
    if (colon == std::string::npos) return false;
    const char* const counts = text.c_str() + colon + 5;
    char* end = nullptr;
    const unsigned long restored = std::strtoul(counts, &end, 10);
    if (end == counts || std::strncmp(end, " of ", 4) != 0) return false;
    const char* const total = end + 4;
    const unsigned long items = std::strtoul(total, &end, 10);
    return end != total && std::strncmp(end, " items", 6) == 0 && restored == items;
}
