#pragma once
#include <string>
#include <vector>

#include "support/LogCapture.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"
#include "support/RestartList.h"
#include "support/TestServices.h"

// Helpers shared by the catalog removal tests.

// Registry keys and folders a product of this catalog can touch, with their neighbours.
MachineState CatalogSnapshot();

// The places (snapshot paths without the kind word: "HKLM\\SOFTWARE\\...", "C:\\...", with
// %SYSTEM% and friends expanded) that a removal should have taken. Fails the test for every
// removed line that lies in none of them and for every place that was not removed.
void ExpectRemovedExactly(const std::vector<std::string>& removed,
                          const std::vector<std::string>& places);

// Takes away what MachineLayout(machine) laid out: its files, the folders that held them once
// empty, and the keys of its registry file. Later tests of the program see a clean machine.
void UndoLayout(const std::string& machine);

bool FileExistsAt(const std::string& path);  // %SYSTEM% and friends expanded

// The board service "RLBWAN" as its installer made it, in Wine's service control manager.
extern const char kBoardService[];
bool CreateBoardService();
