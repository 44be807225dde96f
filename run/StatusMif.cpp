#include "run/StatusMif.h"

#include <windows.h>

#include "base/ScopedHandle.h"
#include "base/SystemQueries.h"
#include "core/ProgramIdentity.h"

namespace {
// One attribute of a group, read-only and specific to this machine, a string of up to size.
std::string Attribute(int id, const char* name, int size, const std::string& value) {
    return "    START ATTRIBUTE\r\n      NAME = \"" + std::string(name) +
           "\"\r\n      ID = " + std::to_string(id) +
           "\r\n      ACCESS = READ-ONLY\r\n      STORAGE = SPECIFIC\r\n      TYPE = STRING(" +
           std::to_string(size) + ")\r\n      VALUE = \"" + value + "\"\r\n    END ATTRIBUTE\r\n";
}

std::string Group(int id, const char* name, const char* type, const std::string& attributes) {
    return "  START GROUP\r\n    NAME = \"" + std::string(name) +
           "\"\r\n    ID = " + std::to_string(id) + "\r\n    CLASS = \"" + type + "\"\r\n" +
           attributes + "  END GROUP\r\n";
}

std::string MifText(const RunStatus& status) {
    return "START COMPONENT\r\n  NAME = \"WORKSTATION\"\r\n" +
           Group(1, "ComponentID", "DMTF|ComponentID|1.0",
                 Attribute(1, "Manufacturer", 64, kProgramMaker) +
                     Attribute(2, "Product", 64, kProgramName) +
                     Attribute(3, "Version", 64, kProgramVersion) + Attribute(4, "Locale", 16, "") +
                     Attribute(5, "Serial Number", 64, "") + Attribute(6, "Installation", 64, "")) +
           Group(2, "InstallStatus", "MICROSOFT|JOBSTATUS|1.0",
                 Attribute(1, "Status", 32, status.success ? "Success" : "Failed") +
                     Attribute(2, "Description", int(kDescriptionLength), status.description)) +
           "END COMPONENT\r\n";
}
}  // namespace

void WriteStatusMif(const char* name, const RunStatus& status) {
    const std::string text = MifText(status);
    const FileHandle file(CreateFileA((WindowsDirectory() + name).c_str(), GENERIC_WRITE, 0,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return;
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), DWORD(text.size()), &written, nullptr);
    // A file made anew under an old one's name may keep the old one's creation time.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetFileTime(file.Get(), &now, nullptr, &now);
}
