#pragma once
#include <string>
#include <vector>

// The system's list of deletions to carry out at the next restart
// ("PendingFileRenameOperations" below the Session Manager key).

// Restart-time deletions the system has been asked for: the sources recorded in the list whose
// target is empty, without the "\??\" prefix.
std::vector<std::string> PendingDeletions();
// True when path (%SYSTEM% and friends expanded) is among them, whatever its case.
bool IsPendingDeletion(const std::string& path);
// Forgets the restart-time deletions asked for so far.
void ClearPendingDeletions();

// Makes the system refuse every restart-time deletion while the object lives: the list is stored
// as a plain string, which the system cannot extend. The list is cleared when the object goes.
class RefusedScheduling {
  public:
    RefusedScheduling();
    ~RefusedScheduling();
    RefusedScheduling(const RefusedScheduling&) = delete;
    RefusedScheduling& operator=(const RefusedScheduling&) = delete;
};
