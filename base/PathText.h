#pragma once
#include <windows.h>

#include <string>

// Position of the last of the given characters (none of them a lead byte) in text, read as text
// of the given ANSI code page (the system's by default): the trail byte of a double-byte
// character, which may be 0x5C, never counts. npos when there is none.
std::size_t LastOf(const std::string& text, const char* characters, UINT codePage = CP_ACP);
// Position of the first of the given characters at or after start (a character's first byte),
// read the same way; npos when there is none.
std::size_t FirstOf(const std::string& text, const char* characters, std::size_t start,
                    UINT codePage = CP_ACP);
// LastOf a backslash.
std::size_t LastBackslash(const std::string& text, UINT codePage = CP_ACP);
// Whether text's last character is a backslash (not the trail byte of a double-byte one).
bool EndsInBackslash(const std::string& text);
// directory with a backslash appended unless it ends in one already; "" gives "\".
std::string WithBackslash(const std::string& directory);
// text in upper case as the system compares names (paths, key names) without case.
std::string UpperCase(std::string text);
// Whether path is place itself or lies below it (a backslash follows place), without case.
bool AtOrBelow(const std::string& path, const std::string& place);
// Position of the count-th backslash (from 1) of text read the same way; npos when there are
// fewer.
std::size_t NthBackslash(const std::string& text, std::size_t count, UINT codePage = CP_ACP);
