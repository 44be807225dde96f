#pragma once
#include <windows.h>

#include <string>

// Paths are handed to the system unchanged: no backslash is added or stripped. Each change
// passes the change gate; one the gate holds back counts as made.

// True when at least one file or folder matches path (a path or a wildcard pattern).
bool FileExists(const std::string& path);
// True when another program holds the file without sharing its deletion: it can only go at
// the restart.
bool FileInUse(const std::string& path);
// Deletes the file, clearing its attributes if needed; when it still cannot go, schedules its
// deletion at the next restart. A file that is not there counts as deleted and is not
// scheduled. False only when even the scheduling was refused.
bool DeleteFileForced(const std::string& path);
// Removes the folder if it is empty; false when it is not there.
bool RemoveFolder(const std::string& path);
// Deletes a shortcut once and tells the shell to refresh its views, whatever the deletion gave;
// false when it is not there.
bool DeleteShortcut(const std::string& path);

// Not gated: the restore kit's own files, and the restore that brings the saved ones back.
// True when nothing else holds the file at all: it opens for reading, writing and deletion
// without sharing. A file another program has open (with whatever sharing), maps or runs is
// held; so is a read-only file, which does not open for writing.
bool HeldByNobody(const std::string& path);
// Deletes the file whatever its attributes; nothing is said of the outcome.
void DiscardFile(const std::string& path);
// Creates the folder and any missing parents; true when it is there.
bool CreateFolderPath(const std::string& path);
// Appends the whole file to text, letting others read and write it meanwhile; false when it
// cannot be read.
bool ReadFileText(const std::string& path, std::string& text);
// Appends text byte for byte to the file, made when missing; true when all of it was written.
bool AppendToFile(const std::string& path, const std::string& text);
// Copies the contents of the file at from into a new file at to, made with the given
// attributes; true when all of it was written.
bool CopyFileAs(const std::string& from, const std::string& to, DWORD attributes);
// Copies what remains of the file open at from into the file open at to; true when all of it
// was written.
bool CopyContents(HANDLE from, HANDLE to);
