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

// At once, not on the next paint: a drag reads the position back at its next
// step. Both edges are converted at one DPI and moved by one SetWindowPos: a
// move that lands on a monitor of another DPI changes the scale (through
// WM_DPICHANGED) before SetWindowPos returns.
void Win32Window::Move(float left, float top) {
    SetWindowPos(hwnd_, nullptr, scale_.ToPixels(left), scale_.ToPixels(top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::RequestAttention() {
    // The program is in front when any window of its thread is, the window
    // of changes included: the user is looking at it already.
    const HWND front = GetForegroundWindow();
    const DWORD ours = GetWindowThreadProcessId(hwnd_, nullptr);
    if (front && GetWindowThreadProcessId(front, nullptr) == ours) return;
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
