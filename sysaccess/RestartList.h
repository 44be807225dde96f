#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The list of file operations Windows carries out at the next restart (pairs of a file and its
// new name, empty for a deletion), read and written with the wide registry API, so that every
// entry keeps its bytes. Entries are compared as full paths, case-insensitively, "\??\" taken
// off: a path built with a doubled backslash or ".." is the one the system registered.

// A file's name as the list holds it: its wide characters, without a closing NUL.
using RestartName = std::vector<wchar_t>;

// The deletion of path exactly as the system registered it (the last one on the list, "\??\"
// and the full path as a rule); empty when the list holds none or cannot be read.
RestartName RegisteredDeletion(const std::string& path);
// RegisteredDeletion in the ANSI code page, for records kept as text; path itself when the list
// holds none.
std::string RegisteredDeletionText(const std::string& path);
// An entry as text without the "\??\" the list writes before a path, as it is shown.
std::string ShownEntry(const std::string& entry);
// Takes exactly one deletion of entry off the list (one with entry's very text first), leaving
// every other entry byte for byte; the list goes when nothing is left in it. found tells whether
// there was one. ERROR_SUCCESS, or the registry's answer that failed.
LONG TakeOffRestartList(const RestartName& entry, bool& found);
// TakeOffRestartList for a path in the ANSI code page.
LONG TakeOffRestartList(const std::string& path, bool& found);
