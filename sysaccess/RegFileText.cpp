#include "sysaccess/RegFileText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

const char kRegedit4Header[] = "REGEDIT4\r\n\r\n";

namespace {
struct NamedRoot {
    HKEY root;
    const char* name;
};
const NamedRoot kRoots[] = {{HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
                            {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
                            {HKEY_USERS, "HKEY_USERS"},
                            {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"}};

// Longest key name the registry allows, plus its NUL; the same for value names.
constexpr DWORD kKeyNameBuffer = 256;
constexpr DWORD kValueNameBuffer = 16384;
// A hex line is broken once it reaches this column; with ",\" it stays within 80 columns.
constexpr std::size_t kHexWrapColumn = 77;
const char kHexDigits[] = "0123456789abcdef";

std::string SectionName(HKEY root, const std::string& path) {
    return path.empty() ? RootName(root) : RootName(root) + "\\" + path;
}

// Whether the byte at text[at] leads a double-byte character of the system's code page whose
// trail byte follows: the pair is one character, its trail byte (0x5C too) never an escape.
bool LeadsCharacter(const std::string& text, std::size_t at) {
    return at + 1 < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[at]));
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (LeadsCharacter(text, at)) {
            quoted += text.substr(at++, 2);
            continue;
        }
        if (text[at] == '\\' || text[at] == '"') quoted += '\\';
        quoted += text[at];
    }
    return quoted + '"';
}

std::string NameField(const std::string& name) {
    return (name.empty() ? std::string("@") : Quoted(name)) + "=";
}

// Whether name can stand in REGEDIT4 text, which breaks lines at every line break; sets the
// last error to kNameWithLineBreak where it cannot.
bool Carried(const std::string& name) {
    if (name.find_first_of("\r\n") == std::string::npos) return true;
    SetLastError(kNameWithLineBreak);
    return false;
}

// Text that regedit can write in quotes: one closing NUL, no other NUL and no line break.
bool IsQuotableText(const std::string& data) {
    return !data.empty() && data.back() == '\0' &&
           data.find_first_of(std::string("\0\r\n", 3)) == data.size() - 1;
}

// The line of one value, with its continuation lines when long hex data wraps.
std::string ValueLines(const std::string& name, DWORD type, const std::string& data) {
    std::string line = NameField(name);
    if (type == REG_SZ && IsQuotableText(data))
        return line + Quoted(data.substr(0, data.size() - 1)) + "\r\n";
    char field[24];
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD number;
        std::memcpy(&number, data.data(), sizeof number);
        std::snprintf(field, sizeof field, "dword:%08lx\r\n", number);
        return line + field;
    }
    if (type == REG_BINARY)
        std::snprintf(field, sizeof field, "hex:");
    else
        std::snprintf(field, sizeof field, "hex(%lx):", type);
    line += field;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const unsigned char byte = data[i];
        line += kHexDigits[byte >> 4];
        line += kHexDigits[byte & 15];
        if (i + 1 == data.size()) break;
        line += ',';
        if (line.size() - lineStart >= kHexWrapColumn) {
            line += "\\\r\n  ";
            lineStart = line.size() - 2;
        }
    }
    return line + "\r\n";
}

// Type and bytes of the named value of an open key; the platform's answer.
LONG QueryValue(HKEY key, const std::string& name, DWORD* type, std::string* data) {
    // The first query only learns the size; a value that grows before the next is read again.
    LONG result = ERROR_MORE_DATA;
    DWORD size = 0;
    for (int attempt = 0; result == ERROR_MORE_DATA && attempt < 4; ++attempt) {
        data->assign(size, '\0');
        result = RegQueryValueExA(key, name.c_str(), nullptr, type,
                                  reinterpret_cast<BYTE*>(&(*data)[0]), &size);
    }
    data->resize(size);
    return result;
}

// The lines of every value of an open key, in the registry's order.
bool AppendValues(HKEY key, std::string& lines) {
    std::vector<char> name(kValueNameBuffer);
    for (DWORD index = 0;; ++index) {
        DWORD length = kValueNameBuffer;
        const LONG result =
            RegEnumValueA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) return true;
        DWORD type = REG_NONE;
        std::string data;
        if (result != ERROR_SUCCESS || !Carried(std::string(name.data(), length)) ||
            QueryValue(key, std::string(name.data(), length), &type, &data) != ERROR_SUCCESS)
            return false;
        lines += ValueLines(std::string(name.data(), length), type, data);
    }
}

bool ListSubkeys(HKEY key, std::vector<std::string>& names) {
    for (DWORD index = 0;; ++index) {
        char name[kKeyNameBuffer];
        DWORD length = kKeyNameBuffer;
        const LONG result =
            RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) return true;
        if (result != ERROR_SUCCESS || !Carried(std::string(name, length))) return false;
        names.emplace_back(name, length);
    }
}

bool AppendTree(HKEY root, const std::string& path, std::string& text) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    std::string values;
    std::vector<std::string> subkeys;
    const bool read = AppendValues(key, values) && ListSubkeys(key, subkeys);
    const DWORD error = GetLastError();
    RegCloseKey(key);
    if (!read) {
        SetLastError(error);
        return false;
    }
    text += "[" + SectionName(root, path) + "]\r\n" + values + "\r\n";
    for (const std::string& subkey : subkeys)
        if (!AppendTree(root, path.empty() ? subkey : path + "\\" + subkey, text)) return false;
    return true;
}

std::string Trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return std::string();
    return text.substr(begin, text.find_last_not_of(" \t\r") + 1 - begin);
}

// The next line of text from at, trimmed; a line ending in a backslash (long hex data) is
// joined with the lines that continue it.
bool NextLine(const std::string& text, std::size_t& at, std::string& line) {
    if (at >= text.size()) return false;
    line.clear();
    do {
        if (!line.empty()) line.pop_back();
        const std::size_t end = std::min(text.find('\n', at), text.size());
        line += Trimmed(text.substr(at, end - at));
        at = end + 1;
    } while (!line.empty() && line.back() == '\\' && line[0] != ';' && at < text.size());
    return true;
}

// A quoted text starting at line[at], with \\ and \" unescaped (double-byte characters as they
// stand); at moves past its closing quote.
bool ParseQuoted(const std::string& line, std::size_t& at, std::string& text) {
    if (at >= line.size() || line[at] != '"') return false;
    text.clear();
    for (++at; at < line.size(); ++at) {
        if (LeadsCharacter(line, at)) {
            text += line.substr(at++, 2);
            continue;
        }
        char c = line[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\') {
            if (++at == line.size() || (line[at] != '\\' && line[at] != '"')) return false;
            c = line[at];
        }
        text += c;
    }
    return false;
}

// One to maxDigits hex digits, nothing else.
bool ParseHexNumber(const std::string& digits, std::size_t maxDigits, DWORD& number) {
    if (digits.empty() || digits.size() > maxDigits) return false;
    number = 0;
    for (char c : digits) {
        const char* digit =
            c ? std::strchr(kHexDigits, std::tolower(static_cast<unsigned char>(c))) : nullptr;
        if (!digit) return false;
        number = number * 16 + static_cast<DWORD>(digit - kHexDigits);
    }
    return true;
}

// Comma-separated bytes of one or two hex digits; nothing at all for no bytes.
bool ParseBytes(const std::string& list, std::string& bytes) {
    bytes.clear();
    if (list.empty()) return true;
    for (std::size_t start = 0;;) {
        const std::size_t comma = list.find(',', start);
        DWORD byte;
        if (!ParseHexNumber(Trimmed(list.substr(start, comma - start)), 2, byte)) return false;
        bytes += static_cast<char>(byte);
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

struct ImportedValue {
    std::string name;
    bool deleted = false;
    DWORD type = REG_NONE;
    std::string data;
};

// What follows the "=" of a value line: -, "text", dword:, hex: or hex(type):.
bool ParseData(const std::string& field, ImportedValue& value) {
    if (field == "-") {
        value.deleted = true;
        return true;
    }
    if (!field.empty() && field[0] == '"') {
        std::size_t at = 0;
        value.type = REG_SZ;
        if (!ParseQuoted(field, at, value.data) || at != field.size()) return false;
        value.data += '\0';
        return true;
    }
    if (field.compare(0, 6, "dword:") == 0) {
        DWORD number;
        if (!ParseHexNumber(field.substr(6), 8, number)) return false;
        value.type = REG_DWORD;
        value.data.assign(reinterpret_cast<const char*>(&number), sizeof number);
        return true;
    }
    const std::size_t colon = field.find(':');
    if (colon == std::string::npos) return false;
    if (field.compare(0, colon, "hex") == 0)
        value.type = REG_BINARY;
    else if (field.compare(0, 4, "hex(") != 0 || field[colon - 1] != ')' ||
             !ParseHexNumber(field.substr(4, colon - 5), 8, value.type))
        return false;
    return ParseBytes(field.substr(colon + 1), value.data);
}

bool ParseValueLine(const std::string& line, ImportedValue& value) {
    std::size_t at = 1;
    if (line.compare(0, 2, "@=") != 0) {
        at = 0;
        if (!ParseQuoted(line, at, value.name)) return false;
    }
    return at < line.size() && line[at] == '=' && ParseData(line.substr(at + 1), value);
}

// The root of a section line "[ROOT\path]", and its path; nullptr when it is not one.
HKEY ParseSection(const std::string& line, std::string& path) {
    if (line.size() < 2 || line.back() != ']') return nullptr;
    return RootOf(line.substr(1, line.size() - 2), path);
}

// Creates root\path with its parents and, when given a value, writes or deletes it there.
LONG Apply(HKEY root, const std::string& path, const ImportedValue* value) {
    HKEY key;
    LONG result = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return result;
    if (value && value->deleted) {
        result = RegDeleteValueA(key, value->name.c_str());
        if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    } else if (value) {
        // Given string data without a closing NUL, the ANSI call writes one byte more when the
        // byte after the data is a NUL (as NT does): a byte after it that is not keeps the size.
        const std::string guarded = value->data + '?';
        result = RegSetValueExA(key, value->name.c_str(), 0, value->type,
                                reinterpret_cast<const BYTE*>(guarded.data()),
                                static_cast<DWORD>(value->data.size()));
    }
    RegCloseKey(key);
    return result;
}
}  // namespace

HKEY RootOf(const std::string& name, std::string& path) {
    const std::size_t slash = name.find('\\');
    path = slash == std::string::npos ? std::string() : name.substr(slash + 1);
    for (const NamedRoot& root : kRoots)
        if (lstrcmpiA(name.substr(0, slash).c_str(), root.name) == 0) return root.root;
    return nullptr;
}

std::string RootName(HKEY root) {
    for (const NamedRoot& named : kRoots)
        if (named.root == root) return named.name;
    return std::string();
}

bool ExportKeyTree(HKEY root, const std::string& path, std::string& text) {
    std::string sections;
    SetLastError(ERROR_SUCCESS);
    if (RootName(root).empty() || !Carried(path) || !AppendTree(root, path, sections)) return false;
    text += sections;
    return true;
}

bool ExportValue(HKEY root, const std::string& path, const std::string& name, std::string& text) {
    HKEY key;
    SetLastError(ERROR_SUCCESS);
    if (RootName(root).empty() || !Carried(path) || !Carried(name) ||
        RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = REG_NONE;
    std::string data;
    const LONG result = QueryValue(key, name, &type, &data);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) return false;
    text += "[" + SectionName(root, path) + "]\r\n" +
            (result == ERROR_SUCCESS ? ValueLines(name, type, data) : NameField(name) + "-\r\n") +
            "\r\n";
    return true;
}

bool ImportRegText(const std::string& text, const RegImportReport& report) {
    std::size_t at = 0;
    std::string line;
    if (!NextLine(text, at, line) || line != "REGEDIT4") return false;
    bool allWritten = true;
    HKEY root = nullptr;
    std::string path;
    while (NextLine(text, at, line)) {
        if (line.empty() || line[0] == ';') continue;
        const bool section = line[0] == '[';
        ImportedValue value;
        LONG result = ERROR_INVALID_DATA;
        std::string item = line;
        if (section) root = ParseSection(line, path);
        if (section && root) {
            item = SectionName(root, path);
            result = Apply(root, path, nullptr);
        } else if (!section && root && ParseValueLine(line, value)) {
            item = SectionName(root, path) + "\\" + (value.name.empty() ? "@" : value.name);
            result = Apply(root, path, &value);
        }
        report(section ? "key" : "value", item, result);
        allWritten = allWritten && result == ERROR_SUCCESS;
    }
    return allWritten;
}
