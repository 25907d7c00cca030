// What the user sees of Kestrova beside its main window: which window is in
// front, the tip it shows, and its window of changes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kestrova::e2e {

// Shows a small window of the probe's own at the screen's bottom-right
// corner, clear of Kestrova's, puts it in front and keeps it there (its
// messages pumped) for `seconds`.
int HoldFront(double seconds);

// Shows a small topmost window of the probe's own at the screen's
// bottom-left corner that never takes the foreground, not even when
// clicked, for `seconds`: pointer motion over it is input to the session
// that leaves the foreground where it is.
int InputPad(double seconds);

// "kestrova" when a window of `main`'s process is in front, else "other".
std::wstring ForegroundOwner(HWND main);

// The text of the tip a window of `main`'s process shows now, if any.
std::optional<std::wstring> VisibleTipText(HWND main);

// Kestrova's window of changes, shown or not; null when it was never opened.
HWND ChangesWindowOf(HWND main);

}  // namespace kestrova::e2e
