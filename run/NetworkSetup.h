#pragma once
#include <windows.h>

// Set by the network adapter components when the system's network setup must run at the end
// of the run. Never cleared.
extern bool NetworkSetupPending;

// Runs the system's network setup unattended (NCPA.CPL's CPlSetup in express mode), owned by
// owner, and returns when it is done. Does nothing when the module or its entry point is
// missing.
void RunNetworkSetup(HWND owner);
