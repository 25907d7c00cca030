// Where the main window opens: the system's default place for a new window
// (the cascade, or the place the launcher asked for), kept whole on the work
// area of that monitor.
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

}  // namespace kestrova::win32
