#include "components/ImportPatch.h"

namespace {
template <class T>
T* At(HMODULE image, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(image) + offset);
}

// The import address table slot of this program that holds target; null when there is none.
void** FindSlot(const char* module, void* target) {
    HMODULE image = GetModuleHandleA(nullptr);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image);
    auto* nt = At<IMAGE_NT_HEADERS>(image, dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return nullptr;
    for (auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(image, imports.VirtualAddress); entry->Name;
         ++entry) {
        if (lstrcmpiA(At<char>(image, entry->Name), module) != 0) continue;
        for (auto* thunk = At<IMAGE_THUNK_DATA>(image, entry->FirstThunk); thunk->u1.Function;
             ++thunk)
            if (reinterpret_cast<void*>(thunk->u1.Function) == target)
                return reinterpret_cast<void**>(&thunk->u1.Function);
    }
    return nullptr;
}
}  // namespace

ImportPatch::ImportPatch(const char* module, const char* function, void* replacement) {
    HMODULE library = GetModuleHandleA(module);
    if (!library) return;
    void* target = reinterpret_cast<void*>(GetProcAddress(library, function));
    slot_ = target ? FindSlot(module, target) : nullptr;
    if (!slot_) return;
    original_ = *slot_;
    Write(replacement);
}

ImportPatch::~ImportPatch() {
    if (slot_) Write(original_);
}

void ImportPatch::Write(void* value) {
    DWORD protection;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
    *slot_ = value;
    VirtualProtect(slot_, sizeof *slot_, protection, &protection);
}
