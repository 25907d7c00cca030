// The colours the main window and its controls paint with. Which pair each
// one gets is the core's decision (ControlColours); here the pairs become the
// system's current colours, brushes and the answers to the controls'
// WM_CTLCOLOR* questions, and the form's background is painted. A change of
// colour scheme or of high contrast is followed at once: the flag is read
// again, every colour resolved again and the whole window repainted.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "platform/win32/GdiHandles.h"
#include "window/ControlTable.h"

namespace kestrova::win32 {

class ChildControl;
class Win32CommandButton;
class Win32PictureBox;
class Win32ListView;

// Whether the user's high-contrast scheme is on.
bool SystemHighContrast();

class WindowColours {
public:
    struct Controls {
        HWND form;
        std::array<ChildControl*, kControlTable.size()> children;  // in table order
        Win32CommandButton& button;
        Win32PictureBox& closePicture;
        Win32ListView& list;
    };

    // `highContrast` is asked now and again at every change of scheme.
    WindowColours(const Controls& controls, std::function<bool()> highContrast);
    WindowColours(const WindowColours&) = delete;
    WindowColours& operator=(const WindowColours&) = delete;

    // The colour side of a window message: what the window procedure returns,
    // or nothing when the message goes on to its usual handling (a setting
    // change does, once the colours have followed it).
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Resolved {
        COLORREF back = 0;
        COLORREF fore = 0;
        unique_hbrush brush;  // only for the controls that ask their parent
    };

    void Follow();
    std::optional<LRESULT> Answer(UINT message, HDC dc, HWND control) const;

    Controls controls_;
    std::function<bool()> highContrast_;
    std::array<Resolved, kControlTable.size()> resolved_{};  // in table order
    unique_hbrush formBrush_;
};

}  // namespace kestrova::win32
