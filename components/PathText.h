#pragma once
#include <string>

// Position of the last backslash in text, read as text of the system's ANSI code page: the
// trail byte of a double-byte character (which may be 0x5C) never counts. npos when none.
std::size_t LastBackslash(const std::string& text);
