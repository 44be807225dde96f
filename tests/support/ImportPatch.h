#pragma once
#include <windows.h>

// Replaces one function that the test program imports from a DLL, for the life of the object:
// every call the program makes through its import address table (the product code is linked
// into the test program) reaches the replacement instead. The entry is put back at destruction.
class ImportPatch {
  public:
    ImportPatch(const char* module, const char* function, const void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the program does not import the function (nothing was patched).
    bool Active() const { return slot_ != nullptr; }
    // The function the entry held before, to call through to the platform.
    template <typename Function>
    Function Original() const {
        return reinterpret_cast<Function>(original_);
    }

  private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
