#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A binding store laid out in the machine's registry for the editor's tests.

using Entries = std::vector<std::string>;

// "System\CurrentControlSet\Services\<service>\Linkage", with "\Disabled" when disabled.
std::string LinkageKey(const std::string& service, bool disabled = false);
// Writes the entries as one list value of the given type (created with its key).
void WriteEntries(const std::string& key, const std::string& name, const Entries& entries,
                  DWORD type = REG_MULTI_SZ);
// Writes raw bytes as a value of the given type.
void WriteRaw(const std::string& key, const std::string& name, const std::string& bytes,
              DWORD type);
// The value's bytes and type; type REG_NONE and no bytes when it is missing.
struct RawValue {
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const RawValue& other) const {
        return type == other.type && bytes == other.bytes;
    }
};
RawValue ReadRaw(const std::string& key, const std::string& name);
// Entries of a REG_MULTI_SZ value as stored.
Entries ReadEntries(const std::string& key, const std::string& name);

// One service with active and disabled Bind, Export and Route lists.
struct ServiceLists {
    Entries bind, exportList, route;
    Entries disabledBind, disabledExport, disabledRoute;
};
void WriteService(const std::string& service, const ServiceLists& lists);
ServiceLists ReadService(const std::string& service);
bool operator==(const ServiceLists& left, const ServiceLists& right);

// "SOFTWARE\<maker>\<product>\CurrentVersion" with a REG_SZ SoftwareType and ServiceName.
void RegisterSoftware(const std::string& maker, const std::string& product,
                      const std::string& softwareType, const std::string& service);
// Deletes the keys (HKLM paths) with everything below them.
void DeleteKeys(const std::vector<std::string>& keys);
