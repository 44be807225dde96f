#pragma once
#include <string>

// text between double quotes.
std::string Quoted(const std::string& text);

// commandLine as it starts the program it registers and no other; empty when that program is
// missing. A quoted line is returned as it is. Else the program is the text up to the end of
// the first blank-bounded part that ends in ".exe" (any case); where no part does, the longest
// part before a blank (or the whole line) that names an existing file (".exe" added to a name
// without extension, as the system does) and that the line does not go on with the rest of a
// path after. A program named without a folder is looked for where the system looks for a
// program started by name, but never in this program's folder or the current directory, and
// named by its full path. A program path with blanks is quoted; the rest follows unchanged.
std::string QuoteProgramPath(const std::string& commandLine);
