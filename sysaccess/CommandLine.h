#pragma once
#include <string>

// text between double quotes.
std::string Quoted(const std::string& text);

// commandLine with its program quoted where the system's search could take a shorter part of
// an unquoted path with blanks for the program. The program is the longest part before a blank
// (or the whole line) that names an existing file, ".exe" added to a name without extension as
// the system does; the rest follows unchanged. A quoted line, a program without blanks and a
// line where no part names a file are returned unchanged.
std::string QuoteProgramPath(const std::string& commandLine);
