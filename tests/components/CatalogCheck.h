#pragma once
#include <string>
#include <vector>

#include "run/Component.h"
#include "run/ProductKind.h"
#include "support/Machine.h"

// Helpers shared by the catalog removal tests.

// Registry keys and folders a product of this catalog can touch, with their neighbours.
MachineState CatalogSnapshot();

// The places (snapshot paths without the kind word: "HKLM\\SOFTWARE\\...", "C:\\...", with
// %SYSTEM% and friends expanded) that a removal should have taken. Fails the test for every
// removed line that lies in none of them and for every place that was not removed.
void ExpectRemovedExactly(const std::vector<std::string>& removed,
                          const std::vector<std::string>& places);

// The log text Remove writes, from a log opened on a scratch file; *result gets Remove's result.
std::string RemoveAndLog(Component& product, bool* result);
// The log block the run writes for the product (detection, removal and all).
std::string ReportAndLog(Component& product, const char* displayName, ProductKind kind);

// The text with "\n" written as the log writes it, CR LF.
std::string WithCrLf(const std::string& text);

// Makes the system refuse every restart-time deletion while the object lives: the restart list
// is stored as a plain string, which it cannot extend.
class RefusedScheduling {
  public:
    RefusedScheduling();
    ~RefusedScheduling();
    RefusedScheduling(const RefusedScheduling&) = delete;
    RefusedScheduling& operator=(const RefusedScheduling&) = delete;
};

// Takes away what MachineLayout(machine) laid out: its files, the folders that held them once
// empty, and the keys of its registry file. Later tests of the program see a clean machine.
void UndoLayout(const std::string& machine);

bool RegistryKeyExists(const std::string& path);  // below HKEY_LOCAL_MACHINE
bool FileExistsAt(const std::string& path);       // %SYSTEM% and friends expanded

// Forgets the restart-time deletions asked for so far.
void ClearPendingDeletions();
bool IsPendingDeletion(const std::string& path);

// The board service "RLBWAN" as its installer made it, in Wine's service control manager.
bool CreateBoardService();
bool BoardServiceKnown();
void DeleteBoardService();

// Wine lists the host's interfaces in a volatile NetworkCards key, below which nothing lasting
// can be made: it goes before the cards of a test are laid out.
void ForgetHostNetworkCards();
