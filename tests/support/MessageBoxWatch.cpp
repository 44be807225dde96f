#include "support/MessageBoxWatch.h"

namespace {
// The message text of a message box is its static control with identifier 0xFFFF.
const int kMessageTextId = 0xFFFF;
}  // namespace

MessageBoxWatch::MessageBoxWatch(const std::string& caption)
    : caption_(caption), thread_(&MessageBoxWatch::Watch, this) {}

std::vector<std::string> MessageBoxWatch::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return texts_;
}

void MessageBoxWatch::Watch() {
    while (!stop_) {
        HWND box = FindWindowA("#32770", caption_.c_str());
        if (box && IsWindowVisible(box)) {
            char text[512] = "";
            GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
            texts_.push_back(text);
            SendMessageA(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box) && !stop_) Sleep(10);
        }
        Sleep(20);
    }
}
