#include "sysaccess/RegFileText.h"

#include <vector>

#include "sysaccess/WritableKey.h"

namespace {
// Whether name can stand in REGEDIT4 text, which breaks lines at every line break; sets the
// last error to kNameWithLineBreak where it cannot.
bool Carried(const std::string& name) {
    if (name.find_first_of("\r\n") == std::string::npos) return true;
    SetLastError(kNameWithLineBreak);
    return false;
}

// Type and bytes of the named value of an open key; false, with the platform's answer in the
// key's LastError, when it cannot be read.
bool ReadValue(ReadOnlyKey& key, const std::string& name, DWORD& type, std::string& data) {
    std::vector<BYTE> bytes;
    if (!key.Read(name, bytes, type)) return false;
    data.assign(bytes.begin(), bytes.end());
    return true;
}

// The lines of every value of an open key, in the registry's order.
bool AppendValues(ReadOnlyKey& key, std::string& lines) {
    std::string name;
    for (DWORD index = 0; key.ValueNameAt(index, name); ++index) {
        DWORD type = REG_NONE;
        std::string data;
        if (!Carried(name) || !ReadValue(key, name, type, data)) return false;
        lines += ValueLines(name, type, data);
    }
    return key.LastError() == ERROR_NO_MORE_ITEMS;
}

bool ListSubkeys(ReadOnlyKey& key, std::vector<std::string>& names) {
    std::string name;
    for (DWORD index = 0; key.SubkeyName(index, name); ++index) {
        if (!Carried(name)) return false;
        names.push_back(name);
    }
    return key.LastError() == ERROR_NO_MORE_ITEMS;
}

bool AppendTree(HKEY root, const std::string& path, std::string& text) {
    std::string values;
    std::vector<std::string> subkeys;
    {
        ReadOnlyKey key(root, path);
        if (!key.IsOpen() || !AppendValues(key, values) || !ListSubkeys(key, subkeys)) return false;
    }
    text += "[" + SectionName(root, path) + "]\r\n" + values + "\r\n";
    for (const std::string& subkey : subkeys)
        if (!AppendTree(root, path + "\\" + subkey, text)) return false;
    return true;
}

// Creates root\path with its parents and, when given a value, writes or deletes it there.
LONG Apply(HKEY root, const std::string& path, const ImportedValue* value) {
    WritableKey key = WritableKey::Create(root, path, KEY_SET_VALUE);
    if (!key.IsOpen()) return key.LastError();
    if (value && value->deleted) {
        const bool deleted = key.DeleteValue(value->name);
        return deleted || key.LastError() == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : key.LastError();
    }
    if (!value) return ERROR_SUCCESS;
    // Given string data without a closing NUL, the ANSI call writes one byte more when the byte
    // after the data is a NUL (as NT does): a byte after it that is not keeps the size.
    const std::string guarded = value->data + '?';
    return key.Set(value->name, value->type, guarded.data(), static_cast<DWORD>(value->data.size()))
               ? ERROR_SUCCESS
               : key.LastError();
}
}  // namespace

bool ExportKeyTree(HKEY root, const std::string& path, std::string& text) {
    std::string sections;
    SetLastError(ERROR_SUCCESS);
    if (RootName(root).empty() || !Carried(path) || !AppendTree(root, path, sections)) return false;
    text += sections;
    return true;
}

bool ExportValue(HKEY root, const std::string& path, const std::string& name, std::string& text) {
    SetLastError(ERROR_SUCCESS);
    if (RootName(root).empty() || !Carried(path) || !Carried(name)) return false;
    ReadOnlyKey key(root, path);
    if (!key.IsOpen()) return false;
    DWORD type = REG_NONE;
    std::string data;
    const bool read = ReadValue(key, name, type, data);
    if (!read && key.LastError() != ERROR_FILE_NOT_FOUND) return false;
    text += "[" + SectionName(root, path) + "]\r\n" +
            (read ? ValueLines(name, type, data) : DeletedValueLine(name)) + "\r\n";
    return true;
}

bool ImportRegText(const std::string& text, const RegImportReport& report) {
    std::size_t at = 0;
    std::string line;
    if (!NextLine(text, at, line) || line != "REGEDIT4") return false;
    bool allWritten = true;
    const auto written = [&](const char* kind, const std::string& item, LONG result) {
        report(kind, item, result);
        allWritten = allWritten && result == ERROR_SUCCESS;
    };
    ReadRegText(text, at,
                {[&](HKEY root, const std::string& path) {
                     written("key", SectionName(root, path), Apply(root, path, nullptr));
                 },
                 [&](HKEY root, const std::string& path, const ImportedValue& value) {
                     const std::string name = value.name.empty() ? "@" : value.name;
                     written("value", SectionName(root, path) + "\\" + name,
                             Apply(root, path, &value));
                 },
                 [&](const std::string& unread, bool section) {
                     written(section ? "key" : "value", unread, ERROR_INVALID_DATA);
                 }});
    return allWritten;
}
