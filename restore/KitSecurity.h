#pragma once
#include <windows.h>

#include <string>

// The security of a restore kit: only Administrators and SYSTEM may change it, so that nobody
// else chooses what an administrator's restore writes.
class KitSecurity {
  public:
    KitSecurity();
    KitSecurity(const KitSecurity&) = delete;
    KitSecurity& operator=(const KitSecurity&) = delete;

    // Attributes that make a folder with full control for Administrators and SYSTEM alone,
    // passed on to what is made in it; the explicit list replaces what the parent would give.
    SECURITY_ATTRIBUTES* Attributes() { return &attributes_; }
    // Gives the file at path that security (a file moved into the kit keeps its own otherwise)
    // and keeps its attributes, which some file systems keep in the security (read-only).
    bool Apply(const std::string& path);

  private:
    BYTE list_[256];
    SECURITY_DESCRIPTOR descriptor_;
    SECURITY_ATTRIBUTES attributes_;
};

// Whether the volume of path keeps security (NTFS does, FAT does not); true when it cannot be
// told.
bool VolumeKeepsSecurity(const std::string& path);
// Whether the file or folder at path is owned by, and lets nobody but, Administrators, SYSTEM
// and the user of this process (who may change what they restore anyway) write, delete, take or
// change its security; error receives the reason it does not (ERROR_ACCESS_DENIED: someone else
// may).
bool OnlyTrustedWriters(const std::string& path, DWORD& error);
