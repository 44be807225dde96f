#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The mark with which Windows NT deletes a service's key at its next start ("DeleteFlag", left
// on a service deleted while it could not be stopped). A key written back by a restore keeps the
// mark unless it is taken off, and the service would go at the restart after all.

// Takes the mark off each service's own key, a key right below
// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services, that the REGEDIT4 text has a section of
// and that carries it, reporting each key (its full name as the section has it) with the
// platform's answer. Keys without the mark are not reported.
void UnmarkServices(const std::string& regText,
                    const std::function<void(const std::string& key, LONG result)>& report);
