#include "base/RegText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

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

// A hex line is broken once it reaches this column; with ",\" it stays within 80 columns.
constexpr std::size_t kHexWrapColumn = 77;
const char kHexDigits[] = "0123456789abcdef";

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

// Text that regedit can write in quotes: one closing NUL, no other NUL and no line break.
bool IsQuotableText(const std::string& data) {
    return !data.empty() && data.back() == '\0' &&
           data.find_first_of(std::string("\0\r\n", 3)) == data.size() - 1;
}

std::string Trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return std::string();
    return text.substr(begin, text.find_last_not_of(" \t\r") + 1 - begin);
}

}  // namespace

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

namespace {
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

}  // namespace

std::string SectionName(HKEY root, const std::string& path) {
    return path.empty() ? RootName(root) : RootName(root) + "\\" + path;
}

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

std::string DeletedValueLine(const std::string& name) {
    return NameField(name) + "-\r\n";
}

bool ParseValueLine(const std::string& line, ImportedValue& value) {
    std::size_t at = 1;
    if (line.compare(0, 2, "@=") != 0) {
        at = 0;
        if (!ParseQuoted(line, at, value.name)) return false;
    }
    return at < line.size() && line[at] == '=' && ParseData(line.substr(at + 1), value);
}

HKEY ParseSection(const std::string& line, std::string& path) {
    if (line.size() < 2 || line.back() != ']') return nullptr;
    return RootOf(line.substr(1, line.size() - 2), path);
}

void ReadRegText(const std::string& text, std::size_t at, const RegTextReader& reader) {
    HKEY root = nullptr;
    std::string line, path;
    while (NextLine(text, at, line)) {
        if (line.empty() || line[0] == ';') continue;
        const bool section = line[0] == '[';
        ImportedValue value;
        if (section) root = ParseSection(line, path);
        if (section && root)
            reader.section(root, path);
        else if (!section && root && ParseValueLine(line, value))
            reader.value(root, path, value);
        else
            reader.unreadable(line, section);
    }
}

HKEY RootOf(const std::string& name, std::string& path) {
    // The root names are ASCII: a root is the name's start up to a backslash or the end.
    for (const NamedRoot& root : kRoots) {
        const std::size_t length = std::strlen(root.name);
        if (name.size() < length || lstrcmpiA(name.substr(0, length).c_str(), root.name) != 0 ||
            (name.size() > length && name[length] != '\\'))
            continue;
        path = name.size() > length ? name.substr(length + 1) : std::string();
        return root.root;
    }
    path.clear();
    return nullptr;
}

std::string RootName(HKEY root) {
    for (const NamedRoot& named : kRoots)
        if (named.root == root) return named.name;
    return std::string();
}
