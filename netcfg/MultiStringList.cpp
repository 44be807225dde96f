#include "netcfg/MultiStringList.h"

#include <cstring>

namespace {
// Offset of the entry at position, or of the closing NUL when the list has fewer entries.
DWORD EntryOffset(const MultiStringList& list, unsigned position) {
    DWORD offset = 0;
    for (unsigned index = 0; index < position && list.bytes[offset] != '\0'; ++index)
        offset += static_cast<DWORD>(std::strlen(list.bytes + offset)) + 1;
    return offset;
}
}  // namespace

unsigned CountMultiStringEntries(const MultiStringList& list) {
    unsigned count = 0;
    for (DWORD offset = 0; list.bytes[offset] != '\0'; ++count)
        offset += static_cast<DWORD>(std::strlen(list.bytes + offset)) + 1;
    return count;
}

DWORD MultiStringDataLength(const MultiStringList& list) {
    DWORD offset = 0;
    while (list.bytes[offset] != '\0')
        offset += static_cast<DWORD>(std::strlen(list.bytes + offset)) + 1;
    return offset;
}

std::string GetMultiStringEntry(const MultiStringList& list, unsigned position) {
    const DWORD offset = EntryOffset(list, position);
    const size_t length = std::strlen(list.bytes + offset);
    if (length == 0) return std::string();
    return std::string(list.bytes + offset, length + 1);
}

DWORD MissingTerminatorBytes(const MultiStringList& list, DWORD length) {
    if (length == 0 || list.bytes[length - 1] != '\0') return 2;
    if (length == 1 || list.bytes[length - 2] != '\0') return 1;
    return 0;
}

bool AppendMultiStringEntry(MultiStringList& list, DWORD& position, const std::string& entry) {
    // Room for the entry and, after it, at least the NUL that closes the list.
    if (position > kMultiStringListSize || entry.size() + 1 > kMultiStringListSize - position)
        return false;
    std::memcpy(list.bytes + position, entry.data(), entry.size());
    position += static_cast<DWORD>(entry.size());
    return true;
}

bool CloseMultiStringList(MultiStringList& list, DWORD& position) {
    const DWORD missing = MissingTerminatorBytes(list, position);
    if (position > kMultiStringListSize || missing > kMultiStringListSize - position) return false;
    for (DWORD index = 0; index < missing; ++index) list.bytes[position++] = '\0';
    return true;
}

bool ReadMultiStringList(ReadOnlyKey& key, const std::string& name, MultiStringList& list,
                         DWORD* type) {
    list = MultiStringList();
    DWORD size = kMultiStringListSize;
    DWORD valueType = REG_NONE;
    if (!key.ReadInto(name, list.bytes, size, valueType)) {
        list = MultiStringList();
        return false;
    }
    // Nothing of a failed or shorter read may stay behind the data.
    std::memset(list.bytes + size, 0, sizeof list.bytes - size);
    if (type) *type = valueType;
    return true;
}
