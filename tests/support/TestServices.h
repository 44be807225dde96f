#pragma once
#include <windows.h>

#include <string>

// Services made for tests through the service manager itself: Wine's manager knows a service
// written into the registry only after the next wineserver start.

// Creates a demand-start service of the given type (SERVICE_WIN32_OWN_PROCESS,
// SERVICE_KERNEL_DRIVER); its binary need not exist. False when the manager refuses it.
bool CreateTestService(const std::string& name, DWORD type, const std::string& binary);
// Deletes the service from the manager and its key from the registry.
void DeleteTestService(const std::string& name);
