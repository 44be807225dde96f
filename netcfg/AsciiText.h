#pragma once

// True when both texts are equal, ASCII letters compared without regard to case; other bytes,
// double-byte characters included, must match exactly.
bool SameTextIgnoringCase(const char* left, const char* right);
