// A Win32 service for the service tests: it reports the state given as its argument (2
// start-pending, 4 running) until it is stopped.
#include <windows.h>

#include <cstdlib>

namespace {
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status = {SERVICE_WIN32_OWN_PROCESS, 0, SERVICE_ACCEPT_STOP, 0, 0, 0, 0};

// Every control is answered with the state; a stop ends the service.
void WINAPI Control(DWORD control) {
    if (control == SERVICE_CONTROL_STOP) status.dwCurrentState = SERVICE_STOPPED;
    SetServiceStatus(statusHandle, &status);
}

void WINAPI ServiceMain(DWORD argc, LPSTR* argv) {
    statusHandle = RegisterServiceCtrlHandlerA(argv[0], Control);
    status.dwCurrentState = argc > 1 ? std::atoi(argv[1]) : SERVICE_RUNNING;
    SetServiceStatus(statusHandle, &status);
}
}  // namespace

int main() {
    char name[] = "";
    SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
