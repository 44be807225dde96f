#pragma once
#include <windows.h>

#include <string>

// Takes every deletion of path (a pair whose new name is empty) off the list of file operations
// Windows carries out at the next restart; the list goes when nothing is left in it. found
// tells whether path was on it. ERROR_SUCCESS, or the registry's answer that failed.
LONG TakeOffRestartList(const std::string& path, bool& found);
