#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "base/RegText.h"

// The registry read into REGEDIT4 text and REGEDIT4 text written into it (the text itself is
// base/RegText's).

// The last error of an export that met a key or value name holding a line break, which REGEDIT4
// cannot carry (a code of this program's own).
constexpr DWORD kNameWithLineBreak = 0x20000000 | 1;
// Appends the section of root\path with every value of every type, then the sections of its
// subkeys, depth first. False, text unchanged, when the key or any key below it cannot be opened
// for reading (or a value in them cannot be read), or a name holds a line break.
bool ExportKeyTree(HKEY root, const std::string& path, std::string& text);
// Appends a section of root\path holding only the named value ("" is the default value, @);
// a value that is not there is written as deleted ("name"=-). False, text unchanged, when the
// key cannot be opened for reading or its path or the name holds a line break.
bool ExportValue(HKEY root, const std::string& path, const std::string& name, std::string& text);
// One item of an import: "key" or "value", its full path (value: key path, a backslash and the
// name, "@" for the default value) and the platform's answer (ERROR_SUCCESS when it was written).
// A line that cannot be read is its own item, reported as it stands.
using RegImportReport = std::function<void(const char* kind, const std::string& item, LONG result)>;
// Applies REGEDIT4 text: creates each section's key with its parents and writes (or, for =-,
// deletes) each value, reporting every section and value once. A value to delete that is
// already gone counts as deleted. A line it cannot read is reported with ERROR_INVALID_DATA,
// and so are the values of a section it could not read. False when the header is missing or
// any item failed.
bool ImportRegText(const std::string& text, const RegImportReport& report);
