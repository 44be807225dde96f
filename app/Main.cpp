#include <windows.h>

#include "app/CleanupApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return CleanupApp::Start();
}
