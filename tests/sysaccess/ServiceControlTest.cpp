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

// The test service as the tests see it, through the platform's own calls.
class TestService {
  public:
    TestService() : manager_(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {}
    ~TestService() {
        Remove();
        CloseServiceHandle(manager_);
    }

    bool Install() {
        return CreateTestService(kName, SERVICE_WIN32_OWN_PROCESS, BinDir() + "\\testservice.exe");
    }
    // Starts the service and waits until it has reached the given state.
    bool Start(DWORD state, const char* argument = nullptr) {
        SC_HANDLE service = OpenServiceA(manager_, kName, SERVICE_ALL_ACCESS);
        const char* arguments[] = {argument};
        const bool started =
            service && StartServiceA(service, argument ? 1 : 0, argument ? arguments : nullptr);
        CloseServiceHandle(service);
        return started && WaitFor(state);
    }
    bool Control(DWORD control, DWORD state) {
        SC_HANDLE service = OpenServiceA(manager_, kName, SERVICE_ALL_ACCESS);
        SERVICE_STATUS status;
        const bool sent = service && ControlService(service, control, &status);
        CloseServiceHandle(service);
        return sent && WaitFor(state);
    }
    // Current state; 0 when the manager does not know the service.
    DWORD State() {
        SC_HANDLE service = OpenServiceA(manager_, kName, SERVICE_QUERY_STATUS);
        SERVICE_STATUS status = {};
        if (!service || !QueryServiceStatus(service, &status)) status.dwCurrentState = 0;
        CloseServiceHandle(service);
        return status.dwCurrentState;
    }
    bool WaitFor(DWORD state) {
        for (int poll = 0; poll < 200; ++poll, Sleep(25)) {
            if (State() == state) return true;
        }
        return false;
    }
    bool Known() {
        SC_HANDLE service = OpenServiceA(manager_, kName, SERVICE_QUERY_STATUS);
        CloseServiceHandle(service);
        return service != nullptr;
    }
    // Stops and deletes the service and waits until the manager has let it go.
    void Remove() {
        if (State() != SERVICE_STOPPED) Control(SERVICE_CONTROL_STOP, SERVICE_STOPPED);
        SC_HANDLE service = OpenServiceA(manager_, kName, SERVICE_ALL_ACCESS);
        if (service) DeleteService(service);
        CloseServiceHandle(service);
        for (int poll = 0; poll < 200 && Known(); ++poll) Sleep(25);
    }

  private:
    SC_HANDLE manager_;
};

DWORD StartValue() {
    DWORD type = 0;
    std::string data;
    if (!ReadValue(HKEY_LOCAL_MACHINE, kKey, "Start", &type, &data) || type != REG_DWORD ||
        data.size() != 4)
        return ~0u;
    return *reinterpret_cast<const DWORD*>(data.data());
}

class ServiceControlTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(service_.Install()); }
    TestService service_;
};

TEST_F(ServiceControlTest, EveryStateButStoppedCountsAsRunning) {
    EXPECT_FALSE(ServiceControl(kName).IsRunning());
    ASSERT_TRUE(service_.Start(SERVICE_RUNNING));
    EXPECT_TRUE(ServiceControl(kName).IsRunning());
    ASSERT_TRUE(service_.Control(SERVICE_CONTROL_PAUSE, SERVICE_PAUSED));
    EXPECT_TRUE(ServiceControl(kName).IsRunning());
    ASSERT_TRUE(service_.Control(SERVICE_CONTROL_CONTINUE, SERVICE_RUNNING));
    ASSERT_TRUE(service_.Control(SERVICE_CONTROL_STOP, SERVICE_STOPPED));
    EXPECT_FALSE(ServiceControl(kName).IsRunning());

    ASSERT_TRUE(service_.Start(SERVICE_START_PENDING, "pending"));
    EXPECT_TRUE(ServiceControl(kName).IsRunning());
}

TEST_F(ServiceControlTest, InstalledMeansKnownToTheManagerWithItsKey) {
    EXPECT_TRUE(ServiceControl(kName).ServiceInstalled());
    EXPECT_FALSE(ServiceControl("OberinNoSuchSvc").ServiceInstalled());
    EXPECT_FALSE(ServiceControl("").ServiceInstalled());

    ASSERT_TRUE(service_.Start(SERVICE_RUNNING));
    ASSERT_TRUE(RemoveKey(HKEY_LOCAL_MACHINE, kKey));
    ServiceControl control(kName);
    EXPECT_TRUE(control.IsRunning());
    EXPECT_FALSE(control.ServiceInstalled());
    EXPECT_FALSE(control.DisableStart());
    EXPECT_FALSE(control.RemoveService(false));  // running, and its start cannot be disabled
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), service_.State());
}

TEST_F(ServiceControlTest, DisableStartWritesStartFour) {
    ASSERT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), StartValue());
    EXPECT_TRUE(ServiceControl(kName).DisableStart());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DISABLED), StartValue());
    EXPECT_TRUE(service_.Known());

    const std::string otherKey = "System\\CurrentControlSet\\Services\\OberinNoSuchSvc";
    EXPECT_FALSE(ServiceControl("OberinNoSuchSvc").DisableStart());
    EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, otherKey));
}

TEST_F(ServiceControlTest, RunningServiceIsOnlyDisabledUnlessForced) {
    ASSERT_TRUE(service_.Start(SERVICE_RUNNING));
    EXPECT_TRUE(ServiceControl(kName).RemoveService(false));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DISABLED), StartValue());
    EXPECT_TRUE(service_.Known());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), service_.State());

    EXPECT_TRUE(ServiceControl(kName).RemoveService(true));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), service_.State());  // never stopped
    // Marked for deletion: the manager lets it go once it has stopped.
    ASSERT_TRUE(service_.Control(SERVICE_CONTROL_STOP, SERVICE_STOPPED) || service_.State() == 0);
    for (int poll = 0; poll < 200 && service_.Known(); ++poll) Sleep(25);
    EXPECT_FALSE(service_.Known());
}

TEST_F(ServiceControlTest, StoppedServiceIsDeletedWhateverForceSays) {
    for (bool force : {false, true}) {
        if (!service_.Known()) {
            ASSERT_TRUE(service_.Install());
        }
        EXPECT_TRUE(ServiceControl(kName).RemoveService(force)) << force;
        for (int poll = 0; poll < 200 && service_.Known(); ++poll) Sleep(25);
        EXPECT_FALSE(service_.Known()) << force;
        EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kKey)) << force;
    }
    EXPECT_TRUE(ServiceControl(kName).RemoveService(false));  // missing: nothing to remove
    EXPECT_TRUE(ServiceControl(kName).RemoveService(true));
}

// The manager refuses access, as it does for a user who is not an administrator.
SC_HANDLE WINAPI RefusedManager(LPCSTR, LPCSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST_F(ServiceControlTest, WithoutAccessToTheManagerNothingIsTouched) {
    ASSERT_TRUE(service_.Start(SERVICE_RUNNING));
    {
        ImportPatch refused("advapi32.dll", "OpenSCManagerA",
                            reinterpret_cast<void*>(RefusedManager));
        ASSERT_TRUE(refused.Active());
        ServiceControl control(kName);
        EXPECT_FALSE(control.IsRunning());
        EXPECT_FALSE(control.ServiceInstalled());
        EXPECT_FALSE(control.DisableStart());
        EXPECT_TRUE(control.RemoveService(false));
        EXPECT_TRUE(control.RemoveService(true));
        EXPECT_TRUE(ServiceControl(kName).RemoveService(true));
    }
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), StartValue());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), service_.State());
    EXPECT_TRUE(ServiceControl(kName).ServiceInstalled());
}
}  // namespace
