#include "support/ImportPatch.h"

#include <cstring>

namespace {
template <typename T>
T* At(BYTE* image, DWORD offset) {
    return reinterpret_cast<T*>(image + offset);
}

void Store(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

// The import address table entry of module!function in the running program, or null.
void** FindSlot(const char* module, const char* function) {
    BYTE* image = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS* headers =
        At<IMAGE_NT_HEADERS>(image, At<IMAGE_DOS_HEADER>(image, 0)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return nullptr;
    for (IMAGE_IMPORT_DESCRIPTOR* entry =
             At<IMAGE_IMPORT_DESCRIPTOR>(image, directory.VirtualAddress);
         entry->Name; ++entry) {
        // The names live in the lookup table; the address table beside it holds the entries.
        if (_stricmp(At<char>(image, entry->Name), module) != 0 || !entry->OriginalFirstThunk)
            continue;
        IMAGE_THUNK_DATA* name = At<IMAGE_THUNK_DATA>(image, entry->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slot = At<IMAGE_THUNK_DATA>(image, entry->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const IMAGE_IMPORT_BY_NAME* byName =
                At<IMAGE_IMPORT_BY_NAME>(image, static_cast<DWORD>(name->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slot->u1.Function);
        }
    }
    return nullptr;
}
}  // namespace

ImportPatch::ImportPatch(const char* module, const char* function, const void* replacement)
    : slot_(FindSlot(module, function)) {
    if (!slot_) return;
    original_ = *slot_;
    Store(slot_, const_cast<void*>(replacement));
}

ImportPatch::~ImportPatch() {
    if (slot_) Store(slot_, original_);
}
