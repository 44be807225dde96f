// ServiceControl against Wine's service manager and the test service (servicestates.txt).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/ImportPatch.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"
#include "sysaccess/ServiceControl.h"

namespace {
const char kName[] = "OberinTestSvc";
const std::string kKey = std::string("System\\CurrentControlSet\\Services\\") + kName;

// Sends the control (0: starts the service in the state `until`) and gives the state the manager
// shows once it is `until` (~0u: at once); 0 when the manager does not know the service.
DWORD Drive(DWORD control, DWORD until = ~0u) {
    const std::string state = std::to_string(until);
    const char* argument = state.c_str();
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SERVICE_STATUS status = {};
    for (int poll = 0; poll < 200; ++poll, Sleep(25)) {
        SC_HANDLE service = OpenServiceA(manager, kName, SERVICE_ALL_ACCESS);
        if (poll == 0 && control) ControlService(service, control, &status);
        if (poll == 0 && !control) StartServiceA(service, 1, &argument);
        if (!QueryServiceStatus(service, &status)) status.dwCurrentState = 0;
        CloseServiceHandle(service);
        if (until == ~0u || status.dwCurrentState == until) break;
    }
    CloseServiceHandle(manager);
    return status.dwCurrentState;
}

// No access to the manager, as for a user who is not an administrator.
SC_HANDLE WINAPI RefusedManager(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST(ServiceControlTest, RemovalFollowsTheStateTheKeyAndTheAccess) {
    for (const auto& row : CaseTable("sysaccess\\servicestates.txt")) {
        const DWORD state = std::stoul(row[0]);
        ASSERT_TRUE(!state || CreateTestService(kName, SERVICE_WIN32_OWN_PROCESS,
                                                BinDir() + "\\testservice.exe"));
        if (state > SERVICE_STOPPED) Drive(0, state);
        if (row[1] == "no key") RemoveKey(HKEY_LOCAL_MACHINE, kKey);
        std::optional<ImportPatch> refused;
        if (row[2] == "refused")
            refused.emplace("advapi32.dll", "OpenSCManagerA",
                            reinterpret_cast<void*>(RefusedManager));
        ServiceControl control(kName);
        std::vector<std::string> got(row.begin(), row.begin() + 4);
        for (bool result : {control.IsRunning(), control.ServiceInstalled(),
                            control.RemoveService(row[3] == "forced")})
            got.push_back(result ? "1" : "0");
        refused.reset();
        got.push_back(std::to_string(Drive(SERVICE_CONTROL_INTERROGATE)));
        DWORD type;
        std::string start;
        ReadValue(HKEY_LOCAL_MACHINE, kKey, "Start", &type, &start);
        got.push_back(start.empty() ? "-" : std::to_string(start[0]));
        got.push_back(std::to_string(Drive(SERVICE_CONTROL_STOP, std::stoul(row.back()))));
        EXPECT_EQ(row, got);
        DeleteTestService(kName);
        Drive(SERVICE_CONTROL_STOP, 0);  // the manager lets it go once it has stopped
    }
}
}  // namespace
