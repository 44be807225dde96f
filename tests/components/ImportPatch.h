#pragma once
#include <windows.h>

// Points this program's import of module!function at replacement while the object lives, so
// one test can see or refuse a platform call that Wine cannot be made to refuse.
class ImportPatch {
  public:
    ImportPatch(const char* module, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    bool IsPatched() const { return slot_ != nullptr; }

  private:
    void Write(void* value);
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
