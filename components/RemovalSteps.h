#pragma once
#include <initializer_list>
#include <string>

// Steps that many catalog entries share.

// Deletes a product's main file with DeleteFileForced; when even the restart-time deletion is
// refused, writes "Error:           did not remove <shownName>" to the log. Returns the result.
bool DeleteMainFile(const std::string& path, const char* shownName);
// DeleteFileForced on directory + each name, in order; results ignored.
void DeleteFiles(const std::string& directory, std::initializer_list<const char*> names);
// DeleteShortcut on folder + each name (names begin with a backslash), in order; results ignored.
void DeleteShortcuts(const std::string& folder, std::initializer_list<const char*> names);
// The system's list of registered uninstallers, below HKEY_LOCAL_MACHINE.
extern const char kUninstallKey[];

// DeleteTree on each key below HKEY_LOCAL_MACHINE, in order; results ignored.
void DeleteKeys(std::initializer_list<const char*> paths);
// DeleteTree on each named subkey of parent, in order; results ignored.
void DeleteKeys(const std::string& parent, std::initializer_list<const char*> names);
