#include "components/MonitorRunValues.h"

#include "sysaccess/RegistryKey.h"

void DeleteMonitorRunValues() {
    RegistryKey run("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    run.DeleteValue("NTLXMON");
    run.DeleteValue("TTLXMON");
}
