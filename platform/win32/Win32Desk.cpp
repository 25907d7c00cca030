#include "platform/win32/Win32Desk.h"

#include <windows.h>

#include <realtimeapiset.h>

namespace kestrova::win32 {

DeskReading Win32Desk::Read() const {
    // Not GetTickCount64: it counts the hours a laptop sleeps, and a mark
    // must not pass for seen overnight.
    ULONGLONG awake100ns = 0;
    QueryUnbiasedInterruptTime(&awake100ns);
    DeskReading reading;
    reading.awake = std::chrono::milliseconds(static_cast<long long>(awake100ns / 10000));
    // GetLastInputInfo stamps input on GetTickCount: it wraps after 49.7
    // days and counts sleep, so only the difference from now means anything,
    // taken in 32 bits. Asleep time makes the input look older, never newer.
    LASTINPUTINFO input{};
    input.cbSize = sizeof(input);
    if (GetLastInputInfo(&input)) {
        const DWORD age = GetTickCount() - input.dwTime;
        reading.inputAge = std::chrono::milliseconds(static_cast<long long>(age));
    } else {
        // Unknown: nobody can be shown to be there.
        reading.inputAge = std::chrono::hours(24);
    }
    reading.minimized = IsIconic(window_) != FALSE;
    return reading;
}

}  // namespace kestrova::win32
