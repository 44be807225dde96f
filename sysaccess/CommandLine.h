#pragma once
#include <string>

// text between double quotes.
std::string Quoted(const std::string& text);

// commandLine as it starts the program it registers and no other; empty when that program is
// missing. A quoted line is returned as it is. Else the program is the text up to the end of
// the first blank-bounded part that ends in ".exe" (any case); where no part does, the longest
// part before a blank (or the whole line) that names an existing file (".exe" added to a name
// without extension, as the system does) and that the line does not go on with the rest of a
// path after. A program path with blanks is quoted, the rest follows unchanged; a line whose
// program has no blanks is returned exactly as it is.
std::string QuoteProgramPath(const std::string& commandLine);
