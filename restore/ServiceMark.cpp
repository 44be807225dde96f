#include "restore/ServiceMark.h"

#include <set>
#include <sstream>

#include "sysaccess/RegFileText.h"

namespace {
const char kServices[] = "SYSTEM\\CURRENTCONTROLSET\\SERVICES\\";
const char kMark[] = "DeleteFlag";

// Names as the registry compares them, in any case.
struct AnyCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    }
};

// Whether path names a service's own key, not one below it.
bool IsServiceKey(const std::string& path) {
    const std::size_t prefix = sizeof kServices - 1;
    return path.size() > prefix && lstrcmpiA(path.substr(0, prefix).c_str(), kServices) == 0 &&
           path.find('\\', prefix) == std::string::npos;
}

// Takes the mark off the key: ERROR_FILE_NOT_FOUND when the key or its mark is not there.
LONG Unmark(const std::string& path) {
    HKEY key;
    LONG result =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (result != ERROR_SUCCESS) return ERROR_FILE_NOT_FOUND;
    result = RegQueryValueExA(key, kMark, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) result = RegDeleteValueA(key, kMark);
    RegCloseKey(key);
    return result;
}
}  // namespace

void UnmarkServices(const std::string& regText,
                    const std::function<void(const std::string& key, LONG result)>& report) {
    std::set<std::string, AnyCase> seen;
    std::istringstream lines(regText);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() < 2 || line.front() != '[' || line.back() != ']') continue;
        const std::string name = line.substr(1, line.size() - 2);
        std::string path;
        if (RootOf(name, path) != HKEY_LOCAL_MACHINE || !IsServiceKey(path) ||
            !seen.insert(path).second)
            continue;
        const LONG result = Unmark(path);
        if (result != ERROR_FILE_NOT_FOUND) report(name, result);
    }
}
