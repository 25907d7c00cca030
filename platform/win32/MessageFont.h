// The face of the user's message font (Segoe UI, Tahoma, or whatever the
// user picked) at a size in points and a DPI: what the program's windows
// write with.
#pragma once

#include <windows.h>

#include "platform/win32/GdiHandles.h"

namespace kestrova::win32 {

// Null when the font cannot be made; the caller's controls then keep theirs.
unique_hfont CreateMessageFont(int points, unsigned dpi);

}  // namespace kestrova::win32
