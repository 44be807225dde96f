#pragma once
#include "run/RunStatus.h"

// Writes status as the status MIF name (8.3, "OBERINC.MIF") in the Windows directory, where the
// distribution engine looks for it once the program it started has ended: a component
// "WORKSTATION" with the ComponentID group (Manufacturer "Velmora", Product "Oberin", Version
// "1.5", the rest empty) and the InstallStatus group (Status "Success" or "Failed" and the
// description). Created and stamped with the time of writing, so that the engine takes it as
// written after the program started. Failures are silent: nothing is left to tell them to.
void WriteStatusMif(const char* name, const RunStatus& status);
