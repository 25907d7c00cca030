// Where the program's windows open. The main window: the system's default
// place for a new window (the cascade, or the place the launcher asked for),
// kept whole on the work area of that monitor. A window it owns: centred on
// it, on its monitor, not wherever the system would put it.
#pragma once

#include <windows.h>

namespace kestrova::win32 {

// The top-left corner the system gives a new window now. It keeps that place
// for overlapped windows only (a popup asking for CW_USEDEFAULT lands at
// 0,0), so a hidden overlapped window, never shown, asks for it. 0,0 when
// even that window cannot be created.
POINT SystemDefaultPlace(HINSTANCE instance);

// `place` moved just enough for a window of `size` pixels to lie whole on the
// work area of the monitor at `place`, where it fits; where it does not, its
// top-left corner stays on the work area. So the title bar, the only way to
// move a borderless window, can always be reached.
POINT KeptOnWorkArea(POINT place, SIZE size);

// The top-left corner of a window of `size` pixels centred on `owner`, kept
// on the work area of the owner's monitor as above.
POINT CentredOn(HWND owner, SIZE size);

}  // namespace kestrova::win32
