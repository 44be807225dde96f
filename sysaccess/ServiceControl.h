#pragma once
#include <windows.h>

#include <string>

#include "base/ScopedHandle.h"

// The key of the services below HKEY_LOCAL_MACHINE, without a closing backslash.
extern const char kServicesKey[];

// One named service of the local service control manager. Handles are opened inside each
// operation and closed before it returns; the database lock is never taken. Without access to the
// manager, or for a service it does not know, every query is false and RemoveService counts the
// service as removed.
class ServiceControl {
  public:
    explicit ServiceControl(const std::string& name);
    ServiceControl(const ServiceControl&) = delete;
    ServiceControl& operator=(const ServiceControl&) = delete;

    // Any state but stopped counts: start and stop pending, running and paused.
    bool IsRunning();
    // The manager knows the service and its key under the Services key exists.
    bool ServiceInstalled();
    // Sets the service's Start value to 4 (disabled).
    bool DisableStart();
    // A running service is only disabled unless force is set; otherwise the service is deleted
    // (a running one once it stops). A service that cannot be opened counts as removed. The
    // deletion passes the change gate; one the gate holds back counts as made.
    bool RemoveService(bool force);

  private:
    // The service with full access and the manager it was opened through, both empty when
    // either cannot be opened (the last error tells why).
    struct Opened {
        ServiceHandle manager;
        ServiceHandle service;
    };
    Opened Open() const;

    std::string name_;
};
