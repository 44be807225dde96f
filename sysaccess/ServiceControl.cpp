#include "sysaccess/ServiceControl.h"

#include "sysaccess/ChangeGate.h"
#include "sysaccess/RegistryKey.h"

const char kServicesKey[] = "System\\CurrentControlSet\\Services";

namespace {
std::string KeyOf(const std::string& service) {
    return std::string(kServicesKey) + "\\" + service;
}
}  // namespace

ServiceControl::ServiceControl(const std::string& name) : name_(name) {}

ServiceControl::Opened ServiceControl::Open() const {
    Opened opened;
    opened.manager.Reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (opened.manager.IsValid() && !name_.empty())
        opened.service.Reset(OpenServiceA(opened.manager.Get(), name_.c_str(), SERVICE_ALL_ACCESS));
    return opened;
}

bool ServiceControl::IsRunning() {
    const Opened opened = Open();
    SERVICE_STATUS status;
    return opened.service.IsValid() && QueryServiceStatus(opened.service.Get(), &status) &&
           status.dwCurrentState != SERVICE_STOPPED;
}

bool ServiceControl::ServiceInstalled() {
    return Open().service.IsValid() && RegistryKey(KeyOf(name_)).Exists();
}

bool ServiceControl::DisableStart() {
    if (!ServiceInstalled()) return false;
    return RegistryKey(KeyOf(name_)).SetDword("Start", SERVICE_DISABLED);
}

bool ServiceControl::RemoveService(bool force) {
    const bool running = IsRunning();
    if (running && !force) return DisableStart();
    Change removal = RegistryChange(ChangeAction::DeleteService, HKEY_LOCAL_MACHINE, KeyOf(name_),
                                    "", Open().service.IsValid());
    removal.target = name_;
    GatedChange change(removal);
    if (!change.Admitted()) return true;
    const Opened opened = Open();
    if (!opened.service.IsValid()) {
        // Without access to the manager the service still counts as removed; the gate learns why.
        const DWORD error = GetLastError();
        if (error == ERROR_SERVICE_DOES_NOT_EXIST) return change.Absent();
        change.Failed(error);
        return true;
    }
    const bool deleted = DeleteService(opened.service.Get()) != FALSE;
    const DWORD error = GetLastError();
    return deleted ? change.Done() : change.Failed(error);
}
