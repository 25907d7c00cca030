// The main window as Form1 sees it. Its size is the client area and its
// position the screen position of its top-left corner, both in twips at the
// window's DPI (the shared DpiScale).
#pragma once

#include <windows.h>

#include <optional>

#include "platform/Window.h"
#include "platform/win32/DpiScale.h"

namespace kestrova::win32 {

class Win32Window final : public Window {
public:
    Win32Window(HWND hwnd, const DpiScale& scale) : hwnd_(hwnd), scale_(scale) {}

    float Width() const override;
    float Height() const override;
    float Left() const override;
    float Top() const override;
    void Move(float left, float top) override;
    WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(hwnd_); }
    void RequestAttention() override;
    std::chrono::milliseconds ForegroundTime() const override;
    void Unload() override;

    // From WM_ACTIVATEAPP: the program came to the front, or left it.
    void OnActivateApp(bool active);

private:
    RECT ScreenRect() const;

    HWND hwnd_;
    const DpiScale& scale_;
    ULONGLONG foreground_ = 0;              // ms in front before the current stretch
    std::optional<ULONGLONG> activeSince_;  // GetTickCount64 when it came to the front
};

}  // namespace kestrova::win32
