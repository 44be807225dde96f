#include "components/PathText.h"

std::size_t LastBackslash(const std::string& text, UINT codePage) {
    std::size_t last = std::string::npos;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[at]))) {
            ++at;  // the trail byte belongs to this character
        } else if (text[at] == '\\') {
            last = at;
        }
    }
    return last;
}
