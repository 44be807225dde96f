// A Win32 service for the service tests: it runs until stopped and pauses and continues on
// request. Started with the argument "pending" it stays start-pending until it is stopped.
#include <windows.h>

#include <cstring>

namespace {
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status = {};
HANDLE stopRequested = nullptr;

void Report(DWORD state) {
    status.dwCurrentState = state;
    status.dwWaitHint = state == SERVICE_START_PENDING ? 60000 : 0;
    SetServiceStatus(statusHandle, &status);
}

void WINAPI Control(DWORD control) {
    switch (control) {
        case SERVICE_CONTROL_STOP:
            Report(SERVICE_STOP_PENDING);
            SetEvent(stopRequested);
            break;
        case SERVICE_CONTROL_PAUSE:
            Report(SERVICE_PAUSED);
            break;
        case SERVICE_CONTROL_CONTINUE:
            Report(SERVICE_RUNNING);
            break;
        default:
            SetServiceStatus(statusHandle, &status);
            break;
    }
}

void WINAPI ServiceMain(DWORD argc, LPSTR* argv) {
    statusHandle = RegisterServiceCtrlHandlerA(argv[0], Control);
    if (!statusHandle) return;
    stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    const bool pending = argc > 1 && std::strcmp(argv[1], "pending") == 0;
    status.dwControlsAccepted = SERVICE_ACCEPT_STOP | (pending ? 0 : SERVICE_ACCEPT_PAUSE_CONTINUE);
    Report(pending ? SERVICE_START_PENDING : SERVICE_RUNNING);
    WaitForSingleObject(stopRequested, INFINITE);
    Report(SERVICE_STOPPED);
}
}  // namespace

int main() {
    char name[] = "";
    SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
