#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "support/Machine.h"
#include "support/TestServices.h"

// The machine of tests/machines/adapter-teaming laid out afresh (the host's adapter list first).
void LayOutAdapterMachine(std::vector<std::string> extraFiles = {});
// Removes everything the adapter machine lays out.
void ClearAdapterMachine();

// What a removal changed, keys, values and files in lower case.
struct Changes {
    std::set<std::string> removedKeys, removedValues, addedKeys, addedValues, removedFiles,
        addedFiles;
};
MachineState AdapterMachineState();
Changes ChangesBetween(const MachineState& before, const MachineState& after);

// path in lower case, as the changes name it.
std::string Folded(const std::string& path);
// Paths below HKLM and in the system and Programs folders, as the snapshots name them.
std::string AdapterListEntry(const std::string& name);
std::string ServiceKey(const std::string& service);
std::string ValuePath(const std::string& key, const std::string& value);
std::string SystemFile(const std::string& name);
std::string ToolsShortcut(const std::string& name);
// The teaming transports' parameter keys below the given adapters' services.
std::set<std::string> TeamingParameters(const std::vector<std::string>& services);
// The virtual adapters' services and entries, with the teaming configuration key.
std::set<std::string> VirtualAdapters();
// The active and disabled "Bind" entries of the test transport OtNbt.
std::vector<std::string> TransportBindings(bool disabled);
