#pragma once
#include <string>
#include <vector>

// The names of the key's subkeys as they stand now, in the registry's order. Taken before a
// caller deletes any of them: a walk by index would pass over the neighbour of a deleted one.
std::vector<std::string> SubkeyNames(const std::string& path);
// The text of a REG_SZ value; empty when the key or value is missing or of another type.
std::string StringValue(const std::string& keyPath, const char* valueName);
