#include "netcfg/AdapterNameMatch.h"

#include <cstring>

bool RefersToAdapter(const std::string& entry, const std::string& adapter, UINT codePage) {
    const size_t length = strnlen(entry.data(), entry.size());
    if (adapter.empty() || adapter.size() > length) return false;
    for (size_t start = 0; start + adapter.size() <= length;) {
        if (std::memcmp(entry.data() + start, adapter.data(), adapter.size()) == 0) return true;
        const bool lead =
            IsDBCSLeadByteEx(codePage, static_cast<BYTE>(entry[start])) && start + 1 < length;
        start += lead ? 2 : 1;
    }
    return false;
}
