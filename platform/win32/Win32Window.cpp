#include "platform/win32/Win32Window.h"

namespace kestrova::win32 {

namespace {
RECT ClientRect(HWND hwnd) {
    RECT rect{};
    GetClientRect(hwnd, &rect);
    return rect;
}
}  // namespace

RECT Win32Window::ScreenRect() const {
    RECT rect{};
    GetWindowRect(hwnd_, &rect);
    return rect;
}

float Win32Window::Width() const {
    return scale_.ToTwips(ClientRect(hwnd_).right);
}

float Win32Window::Height() const {
    return scale_.ToTwips(ClientRect(hwnd_).bottom);
}

float Win32Window::Left() const {
    return scale_.ToTwips(ScreenRect().left);
}

float Win32Window::Top() const {
    return scale_.ToTwips(ScreenRect().top);
}

// Each move happens at once, not on the next paint: a drag moves by both
// coordinates in turn and reads the position back in between.
void Win32Window::SetLeft(float twips) {
    SetWindowPos(hwnd_, nullptr, scale_.ToPixels(twips), ScreenRect().top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::SetTop(float twips) {
    SetWindowPos(hwnd_, nullptr, ScreenRect().left, scale_.ToPixels(twips), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::RequestAttention() {
    if (GetForegroundWindow() == hwnd_) return;
    // The system's flash: the taskbar button only, until the window is
    // brought to the foreground, at the system's own rate.
    FLASHWINFO flash{};
    flash.cbSize = sizeof(flash);
    flash.hwnd = hwnd_;
    flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
    FlashWindowEx(&flash);
}

void Win32Window::Unload() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

}  // namespace kestrova::win32
