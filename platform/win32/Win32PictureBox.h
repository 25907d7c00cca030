// The close picture: an owner-drawn STATIC (SS_NOTIFY, so a click reaches the
// parent as STN_CLICKED) showing an icon at its top-left corner on a solid
// back colour. The icon is loaded at the exact small-icon size of the DPI,
// never stretched from another size, so it stays sharp.
#pragma once

#include <windows.h>

#include "platform/PictureBox.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/GdiHandles.h"

namespace kestrova::win32 {

class Win32PictureBox final : public PictureBox, public ChildControl {
public:
    // `accessibleName` is the window text: never drawn, read by screen
    // readers. Throws std::system_error when the control cannot be created.
    Win32PictureBox(HWND parent, int controlId, const ControlPlace& place, const DpiScale& scale,
                    HINSTANCE iconModule, int iconId, TextView accessibleName);

    void SetLeft(float twips) override { SetLeftTwips(twips); }

    // Until set, the system's button face.
    void SetBackColour(COLORREF back);
    // After the shared DpiScale changed.
    void ReloadIcon();
    // The parent's WM_DRAWITEM for this control.
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    HINSTANCE iconModule_;
    int iconId_;
    unique_hbrush back_;
    unique_hicon icon_;
    int iconSize_ = 0;
};

}  // namespace kestrova::win32
