#include "base/PathText.h"

#include <cstring>

std::size_t LastOf(const std::string& text, const char* characters, UINT codePage) {
    std::size_t last = std::string::npos;
    for (std::size_t at = FirstOf(text, characters, 0, codePage); at != std::string::npos;
         at = FirstOf(text, characters, at + 1, codePage))
        last = at;
    return last;
}

std::size_t FirstOf(const std::string& text, const char* characters, std::size_t start,
                    UINT codePage) {
    for (std::size_t at = start; at < text.size(); ++at) {
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[at])))
            ++at;  // the trail byte belongs to this character
        else if (text[at] != '\0' && std::strchr(characters, text[at]))
            return at;
    }
    return std::string::npos;
}

std::size_t LastBackslash(const std::string& text, UINT codePage) {
    return LastOf(text, "\\", codePage);
}

std::string WithBackslash(const std::string& directory) {
    if (EndsInBackslash(directory)) return directory;
    return directory + '\\';
}

bool EndsInBackslash(const std::string& text) {
    return !text.empty() && LastBackslash(text) == text.size() - 1;
}

bool AtOrBelow(const std::string& path, const std::string& place) {
    const std::string upper = UpperCase(path), prefix = UpperCase(place);
    return upper.compare(0, prefix.size(), prefix) == 0 &&
           (upper.size() == prefix.size() || upper[prefix.size()] == '\\');
}

std::size_t NthBackslash(const std::string& text, std::size_t count, UINT codePage) {
    std::size_t at = FirstOf(text, "\\", 0, codePage);
    while (at != std::string::npos && --count > 0) at = FirstOf(text, "\\", at + 1, codePage);
    return at;
}

std::string UpperCase(std::string text) {
    if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}
