#include "netcfg/AsciiText.h"

bool SameTextIgnoringCase(const char* left, const char* right) {
    const auto lower = [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    };
    for (; *left && *right; ++left, ++right)
        if (lower(*left) != lower(*right)) return false;
    return *left == *right;
}
