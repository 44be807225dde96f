#include "sysaccess/ServiceControl.h"

#include "sysaccess/ChangeGate.h"
#include "sysaccess/RegistryKey.h"

const char kServicesKey[] = "System\\CurrentControlSet\\Services";

namespace {
std::string KeyOf(const std::string& service) {
    return std::string(kServicesKey) + "\\" + service;
}
}  // namespace

bool ScmSession::OpenManager() {
    CloseManager();
    manager_ = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    return manager_ != nullptr;
}

bool ScmSession::CloseManager() {
    if (manager_ && CloseServiceHandle(manager_)) manager_ = nullptr;
    return true;
}

ServiceControl::ServiceControl(const std::string& name) : requestedName_(name) {
    if (managerAccess_.OpenManager()) name_ = name;
}

bool ServiceControl::OpenTarget() {
    CloseTarget();
    if (!managerAccess_.OpenManager() || name_.empty()) return false;
    service_ = OpenServiceA(managerAccess_.Manager(), name_.c_str(), SERVICE_ALL_ACCESS);
    return service_ != nullptr;
}

void ServiceControl::CloseTarget() {
    if (service_ && CloseServiceHandle(service_)) service_ = nullptr;
    managerAccess_.CloseManager();
}

bool ServiceControl::IsRunning() {
    if (!OpenTarget()) {
        CloseTarget();
        return false;
    }
    SERVICE_STATUS status;
    const bool running =
        QueryServiceStatus(service_, &status) && status.dwCurrentState != SERVICE_STOPPED;
    CloseTarget();
    return running;
}

bool ServiceControl::ServiceInstalled() {
    const bool opened = OpenTarget();
    CloseTarget();
    return opened && RegistryKey(KeyOf(name_)).Exists();
}

bool ServiceControl::DisableStart() {
    if (!ServiceInstalled()) return false;
    return RegistryKey(KeyOf(name_)).SetDword("Start", SERVICE_DISABLED);
}

bool ServiceControl::RemoveService(bool force) {
    const bool running = IsRunning();
    if (running && !force) return DisableStart();
    const bool known = OpenTarget();
    CloseTarget();
    Change removal = RegistryChange(ChangeAction::DeleteService, HKEY_LOCAL_MACHINE,
                                    KeyOf(requestedName_), "", known);
    removal.target = requestedName_;
    GatedChange change(removal);
    if (!change.Admitted()) return true;
    if (!OpenTarget()) {
        // Without access to the manager the service still counts as removed; the gate learns why.
        const DWORD error = GetLastError();
        CloseTarget();
        if (error == ERROR_SERVICE_DOES_NOT_EXIST) return change.Absent();
        change.Failed(error);
        return true;
    }
    const bool deleted = DeleteService(service_) != FALSE;
    const DWORD error = GetLastError();
    CloseTarget();
    return deleted ? change.Done() : change.Failed(error);
}
