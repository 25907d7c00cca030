// A tip for what lies under the pointer in a list, while the pointer rests
// there: the system's own tooltip control, asked for its text only when it
// is about to show.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/Text.h"

namespace kestrova::win32 {

class CellTip {
public:
    // `textAt` answers, for a point in the list's client area, the text the
    // tip shows there, or nothing for no tip.
    CellTip(HWND list, std::function<std::optional<Text>(POINT)> textAt);
    ~CellTip();
    CellTip(const CellTip&) = delete;
    CellTip& operator=(const CellTip&) = delete;

    // From the list's window procedure. A move onto another text hides the
    // tip, which comes back after the usual delay with the new text.
    void OnMouseMove(POINT client);
    // Hands the tooltip a mouse message of the list's that it could not see
    // (one that came before it existed).
    void Relay(UINT message, WPARAM wParam, LPARAM lParam);
    // Asks again for the text where the pointer is now: after a scroll or a
    // refresh another row may lie under it.
    void Refresh();
    // The tooltip asks the list (its tool's window) for the text.
    std::optional<LRESULT> OnNotify(NMHDR& header);
    void OnDpiChanged(int maxWidth);

private:
    HWND list_;
    HWND tip_ = nullptr;
    std::function<std::optional<Text>(POINT)> textAt_;
    std::wstring text_;  // what the tip shows now; empty: no tip
};

}  // namespace kestrova::win32
