#pragma once
#include <windows.h>

#include <string>

// True when adapter occurs in entry, case-sensitively, at a character boundary of codePage: a
// match never starts on the second byte of a double-byte character. Only the bytes before the
// entry's first NUL are searched.
bool RefersToAdapter(const std::string& entry, const std::string& adapter, UINT codePage = CP_ACP);
