#include "base/DllModule.h"

FARPROC DllModule::EntryPoint(const char* name) const {
    return Loaded() ? GetProcAddress(module_.Get(), name) : nullptr;
}
