#pragma once
#include <windows.h>

// A library loaded for the lifetime of one operation; released on destruction.
class DllModule {
  public:
    explicit DllModule(const char* fileName);
    ~DllModule();
    DllModule(const DllModule&) = delete;
    DllModule& operator=(const DllModule&) = delete;

    // Address of the named export, or null (also when the library is not loaded).
    FARPROC EntryPoint(const char* name) const;
    bool Loaded() const { return loaded_ != 0; }

  private:
    HMODULE module_;
    int loaded_;
};
