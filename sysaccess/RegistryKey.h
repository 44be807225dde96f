#pragma once
#include <windows.h>

#include <string>

#include "sysaccess/WritableKey.h"

// One registry key, named by a root and a path below it, through which a run changes the
// registry: every write and deletion passes the change gate, and one the gate holds back counts
// as made. Its lookups read through one handle with full access, opened at the first and kept
// until the key is deleted or the object goes; a key that cannot be opened is asked again next
// time. An empty path never opens anything: the root itself is never opened, written or deleted
// through this class. Failures never throw: they give false, an empty string or an unchanged
// output string.
class RegistryKey {
  public:
    explicit RegistryKey(const std::string& path);
    RegistryKey(HKEY root, const std::string& path);
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // True when the key can be opened with full access (or is open).
    bool Exists();
    // True when the key is there: it can be opened, or it refuses full access.
    bool Present();
    // True when the value could be read. Only REG_SZ changes text: its characters up to the
    // first NUL or the end of the data. Any other type leaves text unchanged.
    bool QueryString(const std::string& name, std::string& text);
    // Writes a REG_DWORD, creating the key when it is missing.
    bool SetDword(const std::string& name, DWORD value);
    // Rewrites the REG_MULTI_SZ binding list name with the first length bytes of data.
    bool RewriteList(const std::string& name, const char* data, DWORD length);
    // False when the value or its key is not there.
    bool DeleteValue(const std::string& name);
    // Restarts the subkey walk and returns the first name; empty when there is none.
    std::string FirstSubkey();
    // Returns the name at the walk index and advances it, also when nothing is found.
    std::string NextSubkey();
    // Deletes the key with everything below it; a missing key counts as deleted.
    bool DeleteTree();
    // Deletes the key at root\path depth-first, subkeys under the same root. A key refused for
    // lack of access (to open or to delete) has its DACL replaced and is retried once, and
    // gets its old DACL back when it still cannot go. A subkey that stays ends the deletion.
    bool DeleteRecursive(HKEY root, const std::string& path);
    // Replaces the key's DACL with a null DACL (full access for everyone). When saved is given,
    // it receives the self-relative descriptor that held the old DACL.
    static bool ResetKeySecurity(HKEY root, const std::string& path, std::string* saved = nullptr);

  private:
    // The key open with full access; null when it cannot be opened (lastError_ tells why).
    WritableKey* Opened();
    // The key open with full access, made when missing; null when it cannot be.
    WritableKey* Created();
    bool HasValue(const std::string& name);
    bool HoldsDword(const std::string& name, DWORD value);
    bool DeleteRecursiveOnce(HKEY root, const std::string& path, bool mayResetSecurity);
    // Deletes the subkeys, then the key; the platform's answer for the key.
    LONG DeleteSubkeysAndKey(HKEY root, const std::string& path);
    static bool RestoreKeySecurity(HKEY root, const std::string& path, const std::string& saved);

    HKEY root_;
    std::string path_;
    WritableKey key_;
    DWORD walkIndex_ = 0;
    LONG lastError_ = ERROR_SUCCESS;
};
