#pragma once
#include <windows.h>

#include <string>

// The newest restore kit in folder whose time stamp is not in the future; empty when none.
std::string NewestKit(const std::string& folder);
// Replaces %SYSTEM%, %WINDOWS%, %COMMONPROGRAMS%, %USERPROGRAMS% (no trailing backslash), %BIN%,
// %TESTS% and %KIT% (the newest restore kit in the current directory's oberin-restore folder).
std::string ExpandMachinePath(const std::string& path);

// Where a value's name starts in "KEY\\NAME": its two backslashes (never a trail byte); npos.
std::size_t ValueNameMark(const std::string& text);

// Case files are UTF-8; the machine's text is in its ANSI code page. Each to the other.
std::string MachineText(const std::string& utf8);
std::string CaseText(const std::string& machineText);

// The places in text written back as their tokens, longest first, and the time stamp of a
// restore kit's folder as %STAMP%.
std::string TokenizeMachinePath(const std::string& text);
// The root of "HKLM\PATH" or "HKCU\PATH" (HKLM for any other), PATH in rest.
HKEY MachineRoot(const std::string& path, std::string* rest);
