#pragma once
#include <windows.h>

// Runs the system's network setup unattended (NCPA.CPL's CPlSetup in express mode), owned by
// owner, and returns when it is done. Does nothing when the module or its entry point is
// missing.
void RunNetworkSetup(HWND owner);
