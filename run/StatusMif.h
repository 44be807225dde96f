#pragma once
#include "run/RunStatus.h"

// The status MIF the distribution engine reads once the program it started has ended: component
// "WORKSTATION" with the groups ComponentID (Velmora, Oberin, 1.5) and InstallStatus (status).

// Writes name ("OBERINC.MIF") into the Windows directory, created and stamped now, as the engine
// takes only a MIF made after the program started; silent when it cannot.
void WriteStatusMif(const char* name, const RunStatus& status);
