#include "restore/KitLayout.h"

#include <cstdio>
#include <cstdlib>

#include "base/ScopedHandle.h"

namespace kit {
const char kFolder[] = "oberin-restore";
const char kReadme[] = "README.txt";
const char kManifest[] = "manifest.txt";
const char kRegistry[] = "restore.reg";
const char kFiles[] = "files";
const char kChanges[] = "oberin-changes.txt";
const char kMark[] = "restored.txt";
}  // namespace kit

const char kManifestHeader[] = "Oberin restore kit manifest: kind, target, size, CRC-32\r\n";

namespace {
const char* const kKindNames[] = {"file", "folder", "key", "value", "new key", "restart"};

bool HasDigest(KitRecordKind kind) {
    return kind == KitRecordKind::File || kind == KitRecordKind::Key ||
           kind == KitRecordKind::Value;
}

bool AllDigits(const std::string& text, std::size_t from, std::size_t count) {
    if (text.size() < from + count) return false;
    for (std::size_t at = from; at < from + count; ++at)
        if (text[at] < '0' || text[at] > '9') return false;
    return true;
}
}  // namespace

std::string ManifestLine(const KitRecord& record) {
    std::string line =
        std::string(kKindNames[static_cast<int>(record.kind)]) + "\t" + record.target;
    if (HasDigest(record.kind)) {
        char digest[32];
        std::snprintf(digest, sizeof digest, "\t%lu\t%08lx",
                      static_cast<unsigned long>(record.size),
                      static_cast<unsigned long>(record.checksum));
        line += digest;
    }
    return line + "\r\n";
}

bool ParseManifest(const std::string& text, std::vector<KitRecord>& records,
                   MachineIdentity& machine) {
    const std::string header = kManifestHeader;
    if (text.compare(0, header.size(), header) != 0) return false;
    for (std::size_t at = header.size(), end; at < text.size(); at = end + 2) {
        end = text.find("\r\n", at);
        if (end == std::string::npos) return false;
        const std::string line = text.substr(at, end - at);
        if (at == header.size() && machine.Parse(line)) continue;
        const std::vector<std::string> fields = TabFields(line);
        int kind = 0;
        while (kind < 6 && fields[0] != kKindNames[kind]) ++kind;
        if (kind == 6 || fields.size() < 2 || fields[1].empty()) return false;
        KitRecord record{static_cast<KitRecordKind>(kind), fields[1]};
        if (fields.size() != (HasDigest(record.kind) ? 4u : 2u)) return false;
        if (HasDigest(record.kind)) {
            char* stop = nullptr;
            record.size = std::strtoul(fields[2].c_str(), &stop, 10);
            if (fields[2].empty() || *stop) return false;
            record.checksum = std::strtoul(fields[3].c_str(), &stop, 16);
            if (fields[3].size() != 8 || *stop) return false;
        }
        records.push_back(record);
    }
    return true;
}

namespace {
// The CRC-32 table of the reflected polynomial 0xEDB88320, made by the compiler.
struct Crc32Table {
    DWORD entry[256];
};
constexpr Crc32Table MakeCrc32Table() {
    Crc32Table table{};
    for (DWORD n = 0; n < 256; ++n) {
        DWORD c = n;
        for (int bit = 0; bit < 8; ++bit) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table.entry[n] = c;
    }
    return table;
}
constexpr Crc32Table kCrc32 = MakeCrc32Table();
}  // namespace

DWORD Crc32(const void* data, std::size_t size, DWORD crc) {
    crc = ~crc;
    for (const BYTE* byte = static_cast<const BYTE*>(data); size--; ++byte)
        crc = kCrc32.entry[(crc ^ *byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool FileDigest(HANDLE file, DWORD& size, DWORD& checksum) {
    size = checksum = 0;
    char buffer[16 * 1024];
    DWORD read = 0;
    bool whole;
    while ((whole = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE) && read) {
        checksum = Crc32(buffer, read, checksum);
        size += read;
    }
    return whole;
}

bool FileDigest(const std::string& path, DWORD& size, DWORD& checksum) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return file.IsValid() && FileDigest(file.Get(), size, checksum);
}

std::string KitName(int number, const SYSTEMTIME* time) {
    SYSTEMTIME now;
    if (time)
        now = *time;
    else
        GetSystemTime(&now);
    char name[32];
    std::snprintf(name, sizeof name, "%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    std::string result = name;
    if (number > 0) {
        std::snprintf(name, sizeof name, "-%02d", number);
        result += name;
    }
    return result;
}

bool IsKitName(const std::string& name) {
    return AllDigits(name, 0, 8) && name[8] == '-' && AllDigits(name, 9, 6) &&
           (name.size() == 15 || (name.size() == 18 && name[15] == '-' && AllDigits(name, 16, 2)));
}

std::string CopyOf(const std::string& path) {
    std::string place = path;
    if (place.size() > 1 && place[1] == ':')
        place.erase(1, 1);
    else if (place.compare(0, 2, "\\\\") == 0)
        place.replace(0, 2, "UNC\\");
    return std::string(kit::kFiles) + "\\" + place;
}
