#pragma once
#include <windows.h>

#include "base/ScopedHandle.h"

// A library loaded for the lifetime of one operation; released on destruction.
class DllModule {
  public:
    explicit DllModule(const char* fileName) : module_(LoadLibraryA(fileName)) {}

    // Address of the named export, or null (also when the library is not loaded).
    FARPROC EntryPoint(const char* name) const;
    bool Loaded() const { return module_.IsValid(); }

  private:
    ModuleHandle module_;
};
