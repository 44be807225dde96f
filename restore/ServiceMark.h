#pragma once
#include <windows.h>

#include <string>

// The mark with which Windows NT deletes a service's key at its next start ("DeleteFlag", left
// on a service deleted while it could not be stopped). A key written back by a restore keeps the
// mark unless it is taken off, and the service would go at the restart after all. Paths are
// below HKEY_LOCAL_MACHINE.

// The mark's value name.
extern const char kDeleteMark[];
// Whether path is a service's own key, right below System\CurrentControlSet\Services.
bool IsServiceKey(const std::string& path);
// Whether the key at path carries the mark now; false when it is not there.
bool CarriesDeleteMark(const std::string& path);
// Takes the mark off the key at path: the platform's answer (ERROR_SUCCESS when it had none).
LONG TakeOffDeleteMark(const std::string& path);
