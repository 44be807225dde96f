#pragma once
#include <string>

// Paths are handed to the system unchanged: no backslash is added or stripped.

// True when at least one file or folder matches path (a path or a wildcard pattern).
bool FileExists(const std::string& path);
// Deletes the file, clearing its attributes if needed; when it still cannot go, schedules its
// deletion at the next restart. A file that is not there counts as deleted and is not
// scheduled. False only when even the scheduling was refused.
bool DeleteFileForced(const std::string& path);
// Removes the folder if it is empty.
bool RemoveFolder(const std::string& path);
// Deletes a shortcut once and tells the shell to refresh its views, whatever the deletion gave.
bool DeleteShortcut(const std::string& path);
