// ServiceControl against Wine's service control manager, with a test service of our own.
#include <gtest/gtest.h>

#include <string>

#include "support/ImportPatch.h"
#include "support/Machine.h"
#include "support/RegistryEdit.h"
#include "support/TestServices.h"
#include "sysaccess/ServiceControl.h"

namespace {
const char kName[] = "OberinTestSvc";
const std::string kKey = std::string("System\\CurrentControlSet\\Services\\") + kName;

// Sends the control (0: starts the service, with the argument if any), waits for the state (~0u:
// none) and gives the state the service is in; 0 when the manager does not know it.
DWORD Drive(DWORD control, DWORD state = ~0u, const char* argument = nullptr) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, kName, SERVICE_ALL_ACCESS);
    SERVICE_STATUS status = {};
    if (control) ControlService(service, control, &status);
    if (!control) StartServiceA(service, argument ? 1 : 0, &argument);
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

class ServiceControlTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(Install()); }
    static bool Install() {
        return CreateTestService(kName, SERVICE_WIN32_OWN_PROCESS, BinDir() + "\\testservice.exe");
    }
    void TearDown() override {
        DeleteTestService(kName);
        Drive(SERVICE_CONTROL_STOP, 0);  // the manager lets it go once it has stopped
    }
};

// A stopped service is deleted. Any other state counts as running: a running (here paused)
// service is only disabled unless forced, and a forced removal leaves it running until it stops.
TEST_F(ServiceControlTest, RunningServiceIsOnlyDisabledUnlessForced) {
    EXPECT_TRUE(ServiceControl(kName).RemoveService(false));
    EXPECT_EQ(0u, Drive(SERVICE_CONTROL_INTERROGATE, 0));
    ASSERT_TRUE(Install());
    ASSERT_EQ(DWORD(SERVICE_RUNNING), Drive(0, SERVICE_RUNNING));
    ASSERT_EQ(DWORD(SERVICE_PAUSED), Drive(SERVICE_CONTROL_PAUSE, SERVICE_PAUSED));
    EXPECT_TRUE(ServiceControl(kName).RemoveService(false));
    DWORD type;
    std::string start;
    EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kKey, "Start", &type, &start));
    EXPECT_EQ(std::string("\4\0\0\0", 4), start);
    EXPECT_TRUE(ServiceControl(kName).RemoveService(true));
    EXPECT_EQ(DWORD(SERVICE_PAUSED), Drive(SERVICE_CONTROL_INTERROGATE));
    EXPECT_EQ(0u, Drive(SERVICE_CONTROL_STOP, 0));
    EXPECT_TRUE(ServiceControl(kName).RemoveService(false));  // missing: nothing to remove
    EXPECT_FALSE(ServiceControl(kName).DisableStart() || KeyPresent(HKEY_LOCAL_MACHINE, kKey));
}

// Without its key the service is not installed, and without access to the manager (as for a
// user who is not an administrator) it is not known: neither is touched.
SC_HANDLE WINAPI RefusedManager(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST_F(ServiceControlTest, StartPendingServiceWithoutItsKeyOrAccessIsLeftAlone) {
    ASSERT_EQ(DWORD(SERVICE_START_PENDING), Drive(0, SERVICE_START_PENDING, "pending"));
    EXPECT_TRUE(ServiceControl(kName).IsRunning());
    ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_FALSE(ServiceControl(kName).RemoveService(false));  // cannot be disabled
    ImportPatch refused("advapi32.dll", "OpenSCManagerA", reinterpret_cast<void*>(RefusedManager));
    ServiceControl control(kName);
    EXPECT_FALSE(control.IsRunning() || control.ServiceInstalled() || control.DisableStart());
    EXPECT_TRUE(control.RemoveService(false) && control.RemoveService(true));
}
}  // namespace
