#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace kestrova::win32 {

TimeOfDay Win32Clock::Now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return TimeOfDay{now.wHour, now.wMinute, now.wSecond};
}

}  // namespace kestrova::win32
