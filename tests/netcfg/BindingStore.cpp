#include "BindingStore.h"

#include <gtest/gtest.h>

#include "support/RegistryEdit.h"
#include "sysaccess/RegistryKey.h"

std::string LinkageKey(const std::string& service, bool disabled) {
    return "System\\CurrentControlSet\\Services\\" + service + "\\Linkage" +
           (disabled ? "\\Disabled" : "");
}

void WriteRaw(const std::string& key, const std::string& name, const std::string& bytes,
              DWORD type) {
    ASSERT_TRUE(WriteValue(HKEY_LOCAL_MACHINE, key, name, type, bytes.data(),
                           static_cast<DWORD>(bytes.size())));
}

void WriteEntries(const std::string& key, const std::string& name, const Entries& entries,
                  DWORD type) {
    std::string bytes;
    for (const std::string& entry : entries) bytes += entry + '\0';
    bytes += '\0';
    if (entries.empty()) bytes += '\0';
    WriteRaw(key, name, bytes, type);
}

RawValue ReadRaw(const std::string& key, const std::string& name) {
    RawValue value;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return value;
    DWORD size = 0, type = REG_NONE;
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.assign(size, '\0');
        RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value.bytes[0]), &size);
        value.bytes.resize(size);
        value.type = type;
    }
    RegCloseKey(handle);
    return value;
}

Entries ReadEntries(const std::string& key, const std::string& name) {
    const RawValue value = ReadRaw(key, name);
    EXPECT_EQ(static_cast<DWORD>(REG_MULTI_SZ), value.type) << key << "\\" << name;
    Entries entries;
    for (size_t at = 0; at < value.bytes.size() && value.bytes[at] != '\0';) {
        const size_t end = value.bytes.find('\0', at);
        entries.push_back(value.bytes.substr(at, end - at));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return entries;
}

void WriteService(const std::string& service, const ServiceLists& lists) {
    WriteEntries(LinkageKey(service), "Bind", lists.bind);
    WriteEntries(LinkageKey(service), "Export", lists.exportList);
    WriteEntries(LinkageKey(service), "Route", lists.route);
    WriteEntries(LinkageKey(service, true), "Bind", lists.disabledBind);
    WriteEntries(LinkageKey(service, true), "Export", lists.disabledExport);
    WriteEntries(LinkageKey(service, true), "Route", lists.disabledRoute);
}

ServiceLists ReadService(const std::string& service) {
    return {ReadEntries(LinkageKey(service), "Bind"),
            ReadEntries(LinkageKey(service), "Export"),
            ReadEntries(LinkageKey(service), "Route"),
            ReadEntries(LinkageKey(service, true), "Bind"),
            ReadEntries(LinkageKey(service, true), "Export"),
            ReadEntries(LinkageKey(service, true), "Route")};
}

bool operator==(const ServiceLists& left, const ServiceLists& right) {
    return left.bind == right.bind && left.exportList == right.exportList &&
           left.route == right.route && left.disabledBind == right.disabledBind &&
           left.disabledExport == right.disabledExport && left.disabledRoute == right.disabledRoute;
}

void RegisterSoftware(const std::string& maker, const std::string& product,
                      const std::string& softwareType, const std::string& service) {
    const std::string key = "SOFTWARE\\" + maker + "\\" + product + "\\CurrentVersion";
    WriteRaw(key, "SoftwareType", softwareType + '\0', REG_SZ);
    WriteRaw(key, "ServiceName", service + '\0', REG_SZ);
}

void DeleteKeys(const std::vector<std::string>& keys) {
    for (const std::string& key : keys) RegistryKey(key).DeleteTree();
}
