// ServiceControl against Wine's service manager with a test service (cases: servicestates.txt).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/ImportPatch.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"
#include "support/TestServices.h"
#include "sysaccess/ServiceControl.h"

namespace {
const char kName[] = "OberinTestSvc";
const std::string kKey = std::string("System\\CurrentControlSet\\Services\\") + kName;

// Sends the control (0: starts the service, with "pending" for that state), waits for the state
// (~0u: none) and gives the state the service is in; 0 when the manager does not know it.
DWORD Drive(DWORD control, DWORD state = ~0u) {
    const char* pending = "pending";
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, kName, SERVICE_ALL_ACCESS);
    SERVICE_STATUS status = {};
    if (control) ControlService(service, control, &status);
    if (!control) StartServiceA(service, state == SERVICE_START_PENDING, &pending);
    CloseServiceHandle(service);
    for (int poll = 0; poll < 200; ++poll, Sleep(25)) {
        service = OpenServiceA(manager, kName, SERVICE_QUERY_STATUS);
        if (!service || !QueryServiceStatus(service, &status)) status.dwCurrentState = 0;
        CloseServiceHandle(service);
        if (state == ~0u || status.dwCurrentState == state) break;
    }
    CloseServiceHandle(manager);
    return status.dwCurrentState;
}

SC_HANDLE WINAPI RefusedManager(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST(ServiceControlTest, RemovalFollowsTheStateTheKeyAndTheAccess) {
    for (const auto& row : CaseTable("sysaccess\\servicestates.txt")) {
        const DWORD state = std::stoul(row[0]);
        ASSERT_TRUE(
            CreateTestService(kName, SERVICE_WIN32_OWN_PROCESS, BinDir() + "\\testservice.exe"));
        if (!state) DeleteTestService(kName);
        if (state > SERVICE_STOPPED) Drive(0, state == SERVICE_PAUSED ? SERVICE_RUNNING : state);
        if (state == SERVICE_PAUSED) Drive(SERVICE_CONTROL_PAUSE, state);
        if (row[1] == "no key") RemoveKey(HKEY_LOCAL_MACHINE, kKey);
        std::unique_ptr<ImportPatch> refused;
        if (row[2] == "refused")
            refused.reset(new ImportPatch("advapi32.dll", "OpenSCManagerA",
                                          reinterpret_cast<void*>(RefusedManager)));
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
