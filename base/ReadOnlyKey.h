#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/ScopedHandle.h"

// One open registry key, owned from its opening to the object's end, read and never changed.
// Nothing throws: a key that could not be opened reads as empty (every read false), and
// LastError() tells the platform's answer of the opening or of the last read.
class ReadOnlyKey {
  public:
    ReadOnlyKey() = default;
    // Opens root\path with access; an empty path opens nothing (ERROR_BADKEY).
    ReadOnlyKey(HKEY root, const std::string& path, REGSAM access = KEY_READ);

    bool IsOpen() const { return key_.IsValid(); }
    LONG LastError() const { return lastError_; }
    // The name of the subkey at index; false at the end, on any error and for a name longer
    // than longest characters.
    [[nodiscard]] bool SubkeyName(DWORD index, std::string& name, DWORD longest = 255);
    // The name of the value at index; false at the end (ERROR_NO_MORE_ITEMS) and on any error.
    [[nodiscard]] bool ValueNameAt(DWORD index, std::string& name);
    // The value's size in bytes; false when it cannot be read.
    [[nodiscard]] bool ValueSize(const std::string& name, DWORD& size);
    // The whole value, whatever its type, read again with a larger buffer while it grows.
    [[nodiscard]] bool Read(const std::string& name, std::vector<BYTE>& data, DWORD& type);
    [[nodiscard]] bool Read(const wchar_t* name, std::vector<BYTE>& data, DWORD& type);
    // Up to size bytes of the value into buffer; size receives the value's size. False when the
    // value is missing or larger than the buffer.
    [[nodiscard]] bool ReadInto(const std::string& name, void* buffer, DWORD& size, DWORD& type);
    // True when the value could be read. Only REG_SZ changes text: its characters up to the first
    // NUL or the end of the data; any other type leaves text as it was.
    bool QueryString(const std::string& name, std::string& text);
    // The DACL part of the key's security as a self-relative descriptor.
    [[nodiscard]] bool ReadDacl(std::string& descriptor);

  protected:
    HKEY Handle() const { return key_.Get(); }
    // Keeps the platform's answer; true for ERROR_SUCCESS.
    bool Answer(LONG result);
    KeyHandle key_;
    LONG lastError_ = ERROR_SUCCESS;
};
