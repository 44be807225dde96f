#include <windows.h>

#include "app/CleanupApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CleanupApp::Start();
    return 0;
}
