// What every child control of the main window shares: its HWND and its place
// in twips. The twips are the truth; pixels are derived at the current DPI,
// so a place reads back exactly as it was written and survives DPI changes.
#pragma once

#include <windows.h>

#include "platform/win32/DpiScale.h"
#include "window/ControlTable.h"

namespace kestrova::win32 {

class ChildControl {
public:
    ChildControl(HWND hwnd, const ControlPlace& place, const DpiScale& scale)
        : hwnd_(hwnd), place_(place), scale_(scale) {
        ApplyPlace();
    }
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;
    // The parent window destroys its children; the wrapper only forgets.
    virtual ~ChildControl() = default;

    HWND hwnd() const { return hwnd_; }
    const ControlPlace& place() const { return place_; }
    const DpiScale& scale() const { return scale_; }

    void SetLeftTwips(float twips) { place_.left = twips; ApplyPlace(); }
    void SetTopTwips(float twips) { place_.top = twips; ApplyPlace(); }
    void SetWidthTwips(float twips) { place_.width = twips; ApplyPlace(); }
    void SetHeightTwips(float twips) { place_.height = twips; ApplyPlace(); }

    // Pixel edges are rounded from the twips edges, not from left + width, so
    // neighbouring controls that meet in twips meet in pixels.
    void ApplyPlace() {
        const int left = scale_.ToPixels(place_.left);
        const int top = scale_.ToPixels(place_.top);
        const int right = scale_.ToPixels(place_.left + place_.width);
        const int bottom = scale_.ToPixels(place_.top + place_.height);
        SetWindowPos(hwnd_, nullptr, left, top, right - left, bottom - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    HWND hwnd_;
    ControlPlace place_;
    const DpiScale& scale_;
};

}  // namespace kestrova::win32
