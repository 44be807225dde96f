#include "restore/KitSecurity.h"

#include <vector>

#include "base/PathText.h"
#include "base/ScopedHandle.h"

namespace {
const DWORD kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                           FILE_WRITE_ATTRIBUTES | FILE_DELETE_CHILD | DELETE | WRITE_DAC |
                           WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool MakeSid(BYTE* sid, BYTE count, DWORD first, DWORD second) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    if (!InitializeSid(sid, &nt, count)) return false;
    *GetSidSubAuthority(sid, 0) = first;
    if (count > 1) *GetSidSubAuthority(sid, 1) = second;
    return true;
}

// The groups a kit's security lets change it, Administrators and SYSTEM, made once.
struct KitGroups {
    KitGroups() {
        MakeSid(administrators, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
        MakeSid(system, 1, SECURITY_LOCAL_SYSTEM_RID, 0);
    }
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    BYTE system[SECURITY_MAX_SID_SIZE];
};
const KitGroups& Groups() {
    static const KitGroups groups;
    return groups;
}

// The user of this process; empty when it cannot be read.
std::vector<BYTE> ProcessUser() {
    std::vector<BYTE> user;
    KernelObject token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return user;
    BYTE buffer[256];
    DWORD size = 0;
    if (GetTokenInformation(token.Get(), TokenUser, buffer, sizeof buffer, &size)) {
        const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
        user.assign(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
    }
    return user;
}

// Administrators, SYSTEM or the user of this process.
bool Trusted(PSID sid) {
    static const std::vector<BYTE> user = ProcessUser();
    return EqualSid(sid, const_cast<BYTE*>(Groups().administrators)) ||
           EqualSid(sid, const_cast<BYTE*>(Groups().system)) ||
           (user.size() && EqualSid(sid, const_cast<BYTE*>(user.data())));
}
}  // namespace

KitSecurity::KitSecurity() : attributes_{sizeof attributes_, &descriptor_, FALSE} {
    PACL list = reinterpret_cast<PACL>(list_);
    InitializeAcl(list, sizeof list_, ACL_REVISION);
    for (const BYTE* sid : {Groups().administrators, Groups().system}) {
        AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS, const_cast<BYTE*>(sid));
        ACE_HEADER* ace = nullptr;
        if (GetAce(list, list->AceCount - 1, reinterpret_cast<void**>(&ace)))
            ace->AceFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    }
    InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor_, TRUE, list, FALSE);
}

bool KitSecurity::Apply(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, &descriptor_) &&
           SetFileAttributesA(path.c_str(), attributes);
}

bool VolumeKeepsSecurity(const std::string& path) {
    // The volume's root: "C:\" or "\\server\share\".
    const std::size_t end = NthBackslash(path, path.compare(0, 2, "\\\\") == 0 ? 4 : 1);
    const std::string root = end == std::string::npos ? path + "\\" : path.substr(0, end + 1);
    // A volume that cannot be asked counts as one that keeps security: its kits are checked.
    DWORD flags = FS_PERSISTENT_ACLS;
    GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0);
    return (flags & FS_PERSISTENT_ACLS) != 0;
}

bool OnlyTrustedWriters(const std::string& path, DWORD& error) {
    // Most descriptors fit the first buffer; a larger one is read again at its size.
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    std::vector<BYTE> buffer(1024);
    DWORD size = 0;
    BOOL read = GetFileSecurityA(path.c_str(), wanted, buffer.data(), DWORD(buffer.size()), &size);
    if (!read && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
        read = GetFileSecurityA(path.c_str(), wanted, buffer.data(), size, &size);
    }
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    PSID owner = nullptr;
    if (!read || !GetSecurityDescriptorDacl(buffer.data(), &present, &list, &defaulted) ||
        !GetSecurityDescriptorOwner(buffer.data(), &owner, &defaulted)) {
        error = GetLastError();
        return false;
    }
    error = ERROR_ACCESS_DENIED;
    // No list at all: everyone may do everything. An owner may always give itself every right.
    if (!present || !list || !owner || !Trusted(owner)) return false;
    for (DWORD index = 0; index < list->AceCount; ++index) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(list, index, reinterpret_cast<void**>(&ace))) return false;
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE || !(ace->Mask & kWriteRights)) continue;
        if (!Trusted(&ace->SidStart)) return false;
    }
    error = ERROR_SUCCESS;
    return true;
}
