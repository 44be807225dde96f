#pragma once
#include <windows.h>
#include <string>

// Result of the last operation of a RegistryKey.
enum RegistryStatus : DWORD {
    RegistrySuccess = 1000,
    RegistryFailure = 1001,
    RegistryWrongType = 1002,
    RegistryClosed = 1003,
    RegistryUnused = 1004,
};

// One registry key, named by a root and a path below it. Every operation opens the key, acts
// and closes it again, so no handle outlives a call (Open and Create excepted). An empty path
// never opens anything: the root itself is never opened, written or deleted through this class.
// Failures never throw: they give false, an empty string or an unchanged output string. Writes
// and deletions pass the change gate; one the gate holds back counts as made.
class RegistryKey {
  public:
    explicit RegistryKey(const std::string& path);
    RegistryKey(HKEY root, const std::string& path);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens the existing key with full access; stays open until the next operation or Close.
    bool Open();
    // Opens the key, creating it and any missing parents (non-volatile).
    bool Create();
    void Close();
    // True when the key can be opened (or is open).
    bool Exists();
    // True when the key is there: it can be opened, or it refuses full access.
    bool Present();
    // Size in bytes of the named value; Status() tells whether the query succeeded.
    DWORD ValueSize(const std::string& name);
    // True when the value could be read. Only REG_SZ changes text: its characters up to the
    // first NUL or the end of the data. Any other type leaves text unchanged (status 1002).
    bool QueryString(const std::string& name, std::string& text);
    // Writes a REG_DWORD, creating the key when it is missing.
    bool SetDword(const std::string& name, DWORD value);
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
    bool ResetKeySecurity(HKEY root, const std::string& path, std::string* saved = nullptr);

    RegistryStatus Status() const { return status_; }
    LONG LastError() const { return lastError_; }
    bool CreatedNew() const { return createdNew_; }

  private:
    bool HasValue(const std::string& name);
    bool HoldsDword(const std::string& name, DWORD value);
    bool Connect(HKEY* connection);
    // Records the result of opening the key; on failure releases the connection.
    bool Held(LONG openResult);
    bool DeleteRecursiveOnce(HKEY root, const std::string& path, bool mayResetSecurity);
    // Deletes the subkeys, then the key; the platform's answer for the key.
    LONG DeleteSubkeysAndKey(HKEY root, const std::string& path);
    static bool RestoreKeySecurity(HKEY root, const std::string& path, const std::string& saved);

    HKEY root_;
    HKEY key_ = nullptr;
    HKEY connection_ = nullptr;
    std::string path_;
    DWORD disposition_ = 0;
    DWORD walkIndex_ = 0;
    bool open_ = false;
    bool createdNew_ = false;
    RegistryStatus status_ = RegistryUnused;
    LONG lastError_ = ERROR_SUCCESS;
};
