#pragma once
#include <windows.h>

#include <string>

#include "base/ReadOnlyKey.h"

// Size of every binding list the editor reads or builds.
constexpr DWORD kMultiStringListSize = 1024;

// The data of one REG_MULTI_SZ value: entries of text, each closed by a NUL, the whole closed by
// one more NUL. Every byte past the data is NUL and two guard NULs follow the buffer, so a walk
// ends within the buffer even when the data lacks its closing NULs or is no list at all.
struct MultiStringList {
    char bytes[kMultiStringListSize + 2] = {};
};

// Number of entries before the empty one that closes the list; 0 for an empty list.
unsigned CountMultiStringEntries(const MultiStringList& list);
// Offset of the NUL that closes the list: the sum of the entry lengths with their NULs.
DWORD MultiStringDataLength(const MultiStringList& list);
// Entry at position (from 0) with its closing NUL as the last character; empty past the end.
std::string GetMultiStringEntry(const MultiStringList& list, unsigned position);
// How many NULs (0, 1 or 2) must follow the first length bytes so that the list is closed.
DWORD MissingTerminatorBytes(const MultiStringList& list, DWORD length);
// Copies entry (with its NUL) to position and advances it; false, changing nothing, when the
// list and its closing NULs would no longer fit the buffer.
bool AppendMultiStringEntry(MultiStringList& list, DWORD& position, const std::string& entry);
// Appends the missing closing NULs at position and advances it; false when they do not fit.
bool CloseMultiStringList(MultiStringList& list, DWORD& position);
// Reads the value, whatever its type, into list (the rest of it NUL); false when the value is
// missing or larger than the list. type receives the value's type when given.
bool ReadMultiStringList(ReadOnlyKey& key, const std::string& name, MultiStringList& list,
                         DWORD* type = nullptr);
