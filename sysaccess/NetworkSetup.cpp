#include "sysaccess/NetworkSetup.h"

#include <cstdio>

#include "base/DllModule.h"
#include "sysaccess/ChangeGate.h"

namespace {
typedef BOOL(WINAPI* CplSetupFunction)(DWORD argumentCount, LPSTR* arguments, LPSTR* answer);
}

void RunNetworkSetup(HWND owner) {
    char found[MAX_PATH] = "";
    const bool present = SearchPathA(nullptr, "NCPA.CPL", nullptr, MAX_PATH, found, nullptr) != 0;
    GatedChange change({ChangeAction::NetworkSetup, present ? found : "NCPA.CPL", present});
    if (!change.Admitted()) return;
    DllModule ncpa("NCPA.CPL");
    if (!ncpa.Loaded()) {
        change.Absent();
        return;
    }
    const auto setup =
        reinterpret_cast<CplSetupFunction>(reinterpret_cast<void*>(ncpa.EntryPoint("CPlSetup")));
    if (!setup) {
        change.Failed(ERROR_PROC_NOT_FOUND);
        return;
    }
    char window[16];
    std::snprintf(window, sizeof window, "%lx",
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)));
    char ncpaName[] = "NCPA";
    char mode[] = "/t STF_INSTALL_MODE = EXPRESS";
    LPSTR arguments[] = {window, ncpaName, mode};
    LPSTR answer = nullptr;
    setup(3, arguments, &answer);
    change.Done();
}
