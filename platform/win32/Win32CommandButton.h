// A push button painted in a colour of its own. Themed push buttons (common
// controls v6) ignore WM_CTLCOLORBTN and Wine's built-in ones may not send
// NM_CUSTOMDRAW, so the button is owner-drawn: the parent hands its
// WM_DRAWITEM to Draw. The caption stays the window text, for screen readers
// and for WM_GETTEXT.
#pragma once

#include <windows.h>

#include "platform/CommandButton.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/GdiHandles.h"

namespace kestrova::win32 {

class Win32CommandButton final : public CommandButton, public ChildControl {
public:
    // Throws std::system_error when the control cannot be created.
    Win32CommandButton(HWND parent, int controlId, const ControlPlace& place, const DpiScale& scale,
                       TextView caption);

    Text Caption() const override;
    void SetCaption(TextView text) override;
    // The face and the caption's colour while enabled; until set, the
    // system's button colours.
    void SetColours(COLORREF back, COLORREF text);

    // The face, the raised or pressed edge, the caption and the focus rect.
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    unique_hbrush back_;
    COLORREF text_;
};

}  // namespace kestrova::win32
