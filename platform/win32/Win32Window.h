// The main window as Form1 sees it. Its size is the client area and its
// position the screen position of its top-left corner, both in twips at the
// window's DPI (the shared DpiScale).
#pragma once

#include <windows.h>

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
    void Unload() override;

private:
    RECT ScreenRect() const;

    HWND hwnd_;
    const DpiScale& scale_;
};

}  // namespace kestrova::win32
