#pragma once
#include <windows.h>

#include <string>

// The key of the services below HKEY_LOCAL_MACHINE, without a closing backslash.
extern const char kServicesKey[];

// Access to the local service control manager. Never takes the database lock.
class ScmSession {
  public:
    ScmSession() = default;
    ~ScmSession() { CloseManager(); }
    ScmSession(const ScmSession&) = delete;
    ScmSession& operator=(const ScmSession&) = delete;

    // Opens the manager with full access; false when access is refused.
    bool OpenManager();
    // Releases the manager handle. Always true.
    bool CloseManager();
    SC_HANDLE Manager() const { return manager_; }

  private:
    SC_HANDLE manager_ = nullptr;
};

// One named service of the local service control manager. Handles are opened inside each
// operation and closed before it returns. Without access to the manager, or for a service it
// does not know, every query is false and RemoveService counts the service as removed.
class ServiceControl {
  public:
    explicit ServiceControl(const std::string& name);
    ~ServiceControl() { CloseTarget(); }
    ServiceControl(const ServiceControl&) = delete;
    ServiceControl& operator=(const ServiceControl&) = delete;

    bool OpenTarget();
    void CloseTarget();
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
    std::string requestedName_;
    // Empty without access to the manager.
    std::string name_;
    SC_HANDLE service_ = nullptr;
    ScmSession managerAccess_;
};
