#pragma once
#include <windows.h>

#include <string>

// Position of the last backslash in text, read as text of the given ANSI code page (the
// system's by default): the trail byte of a double-byte character, which may be 0x5C, never
// counts. npos when there is none.
std::size_t LastBackslash(const std::string& text, UINT codePage = CP_ACP);
