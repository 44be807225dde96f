#pragma once
#include <windows.h>

#include <string>

// Direct registry edits for setting up and inspecting test machines (plain Win32 calls).

bool KeyPresent(HKEY root, const std::string& path);
// Creates the key with its parents; false when it cannot be created.
bool MakeKey(HKEY root, const std::string& path);
// Writes size bytes of data as a value of the given type, creating the key.
bool WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                const void* data, DWORD size);
// A REG_SZ value with its closing NUL.
bool WriteString(HKEY root, const std::string& path, const std::string& name,
                 const std::string& text);
// Type and bytes of a value; false when it cannot be read.
bool ReadValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
               std::string* data);
// Deletes the key with everything below it; true when it is gone.
bool RemoveKey(HKEY root, const std::string& path);
