// What a window message says about the person at the desk: the program came
// to the front or left it, was minimized or restored, the session locked or
// disconnected, the computer suspended or resumed.
#pragma once

#include <windows.h>

#include <optional>

#include "monitor/SeenClock.h"

namespace kestrova::win32 {

std::optional<DeskEvent> DeskEventOf(UINT message, WPARAM wParam);

}  // namespace kestrova::win32
