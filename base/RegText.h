#pragma once
#include <windows.h>

#include <functional>
#include <string>

// REGEDIT4 text, as the system's regedit writes and imports it: CR LF line ends, a blank line
// after each section, long hex data wrapped with ",\" and two blanks. Text only: nothing here
// reads or writes the registry.

// The opening of every such file: "REGEDIT4" and a blank line.
extern const char kRegedit4Header[];
// "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS" or "HKEY_CLASSES_ROOT"; empty for
// another.
std::string RootName(HKEY root);
// The root a full key name ("HKEY_LOCAL_MACHINE\\path") starts with, and the path after it;
// nullptr when it starts with no root of RootName.
HKEY RootOf(const std::string& name, std::string& path);
// "ROOT\path"; the root's name alone for an empty path.
std::string SectionName(HKEY root, const std::string& path);
// The line of one value of any type, with its continuation lines when long hex data wraps.
std::string ValueLines(const std::string& name, DWORD type, const std::string& data);
// The line of a value that is not there: "name"=-.
std::string DeletedValueLine(const std::string& name);

// The next line of text from at, trimmed; a line ending in a backslash (long hex data) is
// joined with the lines that continue it. False at the end of text.
bool NextLine(const std::string& text, std::size_t& at, std::string& line);
// One value line as read: its name, and to delete it or its type and bytes.
struct ImportedValue {
    std::string name;
    bool deleted = false;
    DWORD type = REG_NONE;
    std::string data;
};
// A value line ("name"=data or @=data); false when it cannot be read.
bool ParseValueLine(const std::string& line, ImportedValue& value);
// The root of a section line "[ROOT\path]", and its path; nullptr when it is not one.
HKEY ParseSection(const std::string& line, std::string& path);
// What ReadRegText finds in REGEDIT4 text, line by line.
struct RegTextReader {
    // A section line it can read: the key it names.
    std::function<void(HKEY root, const std::string& path)> section;
    // A value line it can read in a section it could read, with that section's key.
    std::function<void(HKEY root, const std::string& path, const ImportedValue& value)> value;
    // Any other line, but blank lines and ";" comments. A section line it cannot read ends the
    // key before it: the value lines after it belong to no key and come here too.
    std::function<void(const std::string& line, bool section)> unreadable;
};
// Reads text line by line (NextLine) from at to its end, as the system's import does.
void ReadRegText(const std::string& text, std::size_t at, const RegTextReader& reader);
