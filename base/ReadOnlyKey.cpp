#include "base/ReadOnlyKey.h"

#include <algorithm>
#include <cstring>

namespace {
// A value may grow between two reads: how often the read is repeated with the new size.
constexpr int kReadAttempts = 8;
}  // namespace

ReadOnlyKey::ReadOnlyKey(HKEY root, const std::string& path, REGSAM access) {
    Answer(path.empty() ? ERROR_BADKEY
                        : RegOpenKeyExA(root, path.c_str(), 0, access, key_.Receive()));
}

bool ReadOnlyKey::Answer(LONG result) {
    lastError_ = result;
    return result == ERROR_SUCCESS;
}

bool ReadOnlyKey::SubkeyName(DWORD index, std::string& name, DWORD longest) {
    std::vector<char> buffer(longest + 1);
    DWORD length = longest + 1;
    if (!IsOpen() || !Answer(RegEnumKeyExA(Handle(), index, buffer.data(), &length, nullptr,
                                           nullptr, nullptr, nullptr)))
        return false;
    name.assign(buffer.data(), length);
    return true;
}

bool ReadOnlyKey::ValueNameAt(DWORD index, std::string& name) {
    // The longest value name the registry allows, and its NUL.
    std::vector<char> buffer(16384);
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!IsOpen() || !Answer(RegEnumValueA(Handle(), index, buffer.data(), &length, nullptr,
                                           nullptr, nullptr, nullptr)))
        return false;
    name.assign(buffer.data(), length);
    return true;
}

bool ReadOnlyKey::ValueSize(const std::string& name, DWORD& size) {
    size = 0;
    return IsOpen() &&
           Answer(RegQueryValueExA(Handle(), name.c_str(), nullptr, nullptr, nullptr, &size));
}

namespace {
// Reads a value with query(type, buffer, size) until the buffer holds it whole; one byte more
// than the value stays NUL behind it.
template <typename Query>
LONG ReadGrowing(Query query, std::vector<BYTE>& data, DWORD& type) {
    DWORD size = 0;
    LONG result = query(&type, nullptr, &size);
    for (int attempt = 0; result == ERROR_SUCCESS && attempt < kReadAttempts; ++attempt) {
        data.assign(size + 1, 0);
        DWORD read = size;
        result = query(&type, data.data(), &read);
        // The value grew since its size was asked: the registry answers with the new size.
        if (result != ERROR_MORE_DATA) {
            data.resize(std::min(read, size));
            return result;
        }
        size = read;
        result = ERROR_SUCCESS;
    }
    return result == ERROR_SUCCESS ? ERROR_MORE_DATA : result;
}
}  // namespace

bool ReadOnlyKey::Read(const std::string& name, std::vector<BYTE>& data, DWORD& type) {
    return IsOpen() &&
           Answer(ReadGrowing(
               [&](DWORD* kind, BYTE* bytes, DWORD* size) {
                   return RegQueryValueExA(Handle(), name.c_str(), nullptr, kind, bytes, size);
               },
               data, type));
}

bool ReadOnlyKey::Read(const wchar_t* name, std::vector<BYTE>& data, DWORD& type) {
    return IsOpen() && Answer(ReadGrowing(
                           [&](DWORD* kind, BYTE* bytes, DWORD* size) {
                               return RegQueryValueExW(Handle(), name, nullptr, kind, bytes, size);
                           },
                           data, type));
}

bool ReadOnlyKey::ReadInto(const std::string& name, void* buffer, DWORD& size, DWORD& type) {
    const DWORD room = size;
    return IsOpen() &&
           Answer(RegQueryValueExA(Handle(), name.c_str(), nullptr, &type,
                                   static_cast<BYTE*>(buffer), &size)) &&
           size <= room;
}

bool ReadOnlyKey::QueryString(const std::string& name, std::string& text) {
    std::vector<BYTE> data;
    DWORD type = REG_NONE;
    if (!Read(name, data, type)) return false;
    // String data need not end in a NUL: the bytes up to the first NUL or the end.
    const char* begin = reinterpret_cast<const char*>(data.data());
    if (type == REG_SZ) text.assign(begin, strnlen(begin, data.size()));
    return true;
}

bool ReadOnlyKey::ReadDacl(std::string& descriptor) {
    // Some registries answer the size query with "insufficient buffer" but no size, so the
    // buffer grows until the descriptor fits.
    DWORD size = 0;
    if (!IsOpen() || RegGetKeySecurity(Handle(), DACL_SECURITY_INFORMATION, nullptr, &size) !=
                         ERROR_INSUFFICIENT_BUFFER)
        return false;
    size = std::max<DWORD>(size, sizeof(SECURITY_DESCRIPTOR));
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        descriptor.assign(size, '\0');
        DWORD needed = size;
        const LONG result =
            RegGetKeySecurity(Handle(), DACL_SECURITY_INFORMATION, &descriptor[0], &needed);
        if (Answer(result)) return true;
        if (result != ERROR_INSUFFICIENT_BUFFER) return false;
        size = std::max(needed, size * 2);
    }
    return false;
}
