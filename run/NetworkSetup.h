#pragma once
#include <windows.h>

// Set by the network adapter components when the system's network setup must run at the end
// of the run. Never cleared.
extern bool NetworkSetupPending;

// Runs the system's network setup unattended (NCPA.CPL's CPlSetup in express mode) and returns
// when it is done. Without an owner the main window's last active pop-up owns it. Does nothing
// when the module or its entry point is missing.
void RunNetworkSetup(HWND owner);
