#include "run/NetworkSetup.h"

#include <cstdio>

#include "run/DllModule.h"

bool NetworkSetupPending = false;

namespace {
typedef BOOL(WINAPI* CplSetupFunction)(DWORD argumentCount, LPSTR* arguments, LPSTR* answer);
}

void RunNetworkSetup(HWND owner) {
    DllModule ncpa("NCPA.CPL");
    if (!ncpa.Loaded()) return;
    const auto setup =
        reinterpret_cast<CplSetupFunction>(reinterpret_cast<void*>(ncpa.EntryPoint("CPlSetup")));
    if (!setup) return;
    char window[16];
    std::snprintf(window, sizeof window, "%lx",
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)));
    char ncpaName[] = "NCPA";
    char mode[] = "/t STF_INSTALL_MODE = EXPRESS";
    LPSTR arguments[] = {window, ncpaName, mode};
    LPSTR answer = nullptr;
    setup(3, arguments, &answer);
}
