#include "run/DllModule.h"

DllModule::DllModule(const char* fileName)
    : module_(LoadLibraryA(fileName)), loaded_(module_ != nullptr ? 1 : 0) {}

DllModule::~DllModule() {
    if (loaded_) FreeLibrary(module_);
}

FARPROC DllModule::EntryPoint(const char* name) const {
    return loaded_ ? GetProcAddress(module_, name) : nullptr;
}
