#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "restore/MachineIdentity.h"

// The layout of a restore kit, written by a cleanup run and read by the restore. A kit is the
// folder oberin-restore\<yyyymmdd-hhmmss> beside the log, the time the run made it in UTC, with
// "-02" to "-99" after it for further kits of the same second, so that names sort in time
// order. It holds:
//   README.txt          what is there, how to restore, what cannot come back, what was not saved
//   manifest.txt        every saved item, a record a line (KitRecord)
//   restore.reg         the keys and values as they were, REGEDIT4
//   files\<drive>\...   the files as they were: files\C\WINNT\x.dll is C:\WINNT\x.dll
//   oberin-changes.txt  the run's change report, copied when the run ends
//   restored.txt        written by a restore: when it ran and how many items came back
namespace kit {
extern const char kFolder[];
extern const char kReadme[];
extern const char kManifest[];
extern const char kRegistry[];
extern const char kFiles[];
extern const char kChanges[];
extern const char kMark[];
}  // namespace kit

// One saved item. File: a file's copy, with its size and CRC-32. Folder: a folder the run
// removed. Key, Value: a section of restore.reg, with the size and CRC-32 of restore.reg up to
// and including it. NewKey: a key the run made to set a value in. Restart: a deletion the run
// added to the restart list, as the system registered it.
enum class KitRecordKind { File, Folder, Key, Value, NewKey, Restart };

struct KitRecord {
    KitRecordKind kind;
    std::string target;
    DWORD size = 0;
    DWORD checksum = 0;
};

// The record's line in manifest.txt, with its line end.
std::string ManifestLine(const KitRecord& record);
// The first line of every manifest; the machine's line (MachineIdentity) follows it.
extern const char kManifestHeader[];
// The records of a manifest's text and the machine it names (left as it is when it names none:
// a kit of an earlier build); false when the header or any line cannot be read.
bool ParseManifest(const std::string& text, std::vector<KitRecord>& records,
                   MachineIdentity& machine);

// CRC-32 (as in zip) of size bytes at data, continuing from crc.
DWORD Crc32(const void* data, std::size_t size, DWORD crc = 0);
// The size and CRC-32 of the file at path, or of an open file from where it is read; false when
// it cannot be read whole.
bool FileDigest(const std::string& path, DWORD& size, DWORD& checksum);
bool FileDigest(HANDLE file, DWORD& size, DWORD& checksum);

// A new kit's name for a time (default: now), the UTC stamp, with number (2 to 99) after it
// when given.
std::string KitName(int number = 0, const SYSTEMTIME* time = nullptr);
// Whether name is a kit's name as KitName makes it.
bool IsKitName(const std::string& name);

// Where a kit keeps the file at path, relative to the kit: files\C\x for C:\x, files\UNC\s\x
// for \\s\x.
std::string CopyOf(const std::string& path);
