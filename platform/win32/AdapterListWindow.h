// The adapter table's list view as the window system sees it: a virtual
// report list with the table's columns and lights, before the program adds
// its own handling. The start-up yardstick makes it the same way.
#pragma once

#include <windows.h>

#include "platform/win32/DpiScale.h"

namespace kestrova::win32 {

// Null when the control cannot be created.
HWND CreateAdapterList(HWND parent, int controlId, const DpiScale& scale);

}  // namespace kestrova::win32
