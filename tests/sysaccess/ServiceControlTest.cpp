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

// Current state of the test service; 0 when the manager does not know it.
DWORD State() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, kName, SERVICE_QUERY_STATUS);
    SERVICE_STATUS status = {};
    if (!service || !QueryServiceStatus(service, &status)) status.dwCurrentState = 0;
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return status.dwCurrentState;
}

// Sends the control (0: starts the service, with the argument if any) and waits for the state.
bool Drive(DWORD control, DWORD state, const char* argument = nullptr) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = OpenServiceA(manager, kName, SERVICE_ALL_ACCESS);
    SERVICE_STATUS status;
    const bool sent = control ? ControlService(service, control, &status)
                              : StartServiceA(service, argument ? 1 : 0, &argument);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    for (int poll = 0; sent && poll < 200 && State() != state; ++poll) Sleep(25);
    return sent && State() == state;
}

// Waits until the manager has let the service go.
bool Gone() {
    for (int poll = 0; poll < 200 && ServiceKnown(kName); ++poll) Sleep(25);
    return !ServiceKnown(kName);
}

std::string StartValue() {
    DWORD type = 0;
    std::string data = "none";
    ReadValue(HKEY_LOCAL_MACHINE, kKey, "Start", &type, &data);
    return data;
}

class ServiceControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            CreateTestService(kName, SERVICE_WIN32_OWN_PROCESS, BinDir() + "\\testservice.exe"));
    }
    void TearDown() override {
        Drive(SERVICE_CONTROL_STOP, SERVICE_STOPPED);
        DeleteTestService(kName);
        Gone();
    }
};

// Any state but stopped counts as running: a running (here paused) service is only disabled
// unless forced, and a forced removal leaves it running until it stops.
TEST_F(ServiceControlTest, RunningServiceIsOnlyDisabledUnlessForced) {
    EXPECT_FALSE(ServiceControl(kName).IsRunning());
    ASSERT_TRUE(Drive(0, SERVICE_RUNNING) && Drive(SERVICE_CONTROL_PAUSE, SERVICE_PAUSED));
    EXPECT_TRUE(ServiceControl(kName).RemoveService(false));
    EXPECT_EQ(std::string("\4\0\0\0", 4), StartValue());
    EXPECT_TRUE(ServiceControl(kName).RemoveService(true));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_PAUSED), State());
    EXPECT_TRUE(Drive(SERVICE_CONTROL_STOP, 0) || Gone());
    EXPECT_TRUE(ServiceControl(kName).RemoveService(false));  // missing: nothing to remove
    EXPECT_FALSE(ServiceControl(kName).DisableStart() || KeyPresent(HKEY_LOCAL_MACHINE, kKey));
}

TEST_F(ServiceControlTest, StoppedServiceIsDeletedAndStartPendingIsRunning) {
    EXPECT_TRUE(ServiceControl(kName).RemoveService(false));
    EXPECT_TRUE(Gone());
    ASSERT_TRUE(
        CreateTestService(kName, SERVICE_WIN32_OWN_PROCESS, BinDir() + "\\testservice.exe"));
    ASSERT_TRUE(Drive(0, SERVICE_START_PENDING, "pending"));
    EXPECT_TRUE(ServiceControl(kName).IsRunning());
}

// Without its key, or without access to the manager, nothing is touched.
SC_HANDLE WINAPI RefusedManager(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST_F(ServiceControlTest, WithoutItsKeyOrAccessToTheManagerNothingIsTouched) {
    ASSERT_TRUE(Drive(0, SERVICE_RUNNING));
    {
        ImportPatch refused("advapi32.dll", "OpenSCManagerA",
                            reinterpret_cast<void*>(RefusedManager));
        ServiceControl control(kName);
        EXPECT_FALSE(control.IsRunning() || control.ServiceInstalled() || control.DisableStart());
        EXPECT_TRUE(control.RemoveService(false) && control.RemoveService(true));
    }
    EXPECT_EQ(std::string("\3\0\0\0", 4), StartValue());
    ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_FALSE(ServiceControl(kName).ServiceInstalled());
    EXPECT_FALSE(ServiceControl(kName).RemoveService(false));  // running: cannot be disabled
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), State());
}
}  // namespace
