// A label: a STATIC child whose window text is its visible caption, so screen
// readers read what the eye reads. SS_NOTIFY lets clicks reach the parent
// (the link) and mouse messages reach a subclass (the title bar); the colours
// come from the parent's WM_CTLCOLORSTATIC.
#pragma once

#include <windows.h>

#include "platform/Label.h"
#include "platform/win32/ChildControl.h"

namespace kestrova::win32 {

class Win32Label final : public Label, public ChildControl {
public:
    // Throws std::system_error when the control cannot be created.
    Win32Label(HWND parent, int controlId, const ControlPlace& place, const DpiScale& scale,
               TextView caption);

    Text Caption() const override;
    void SetCaption(TextView text) override;
    void SetWidth(float twips) override { SetWidthTwips(twips); }
    void SetTop(float twips) override { SetTopTwips(twips); }
};

}  // namespace kestrova::win32
