#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace kestrova::win32 {

LocalTime Win32Clock::Now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, {now.wHour, now.wMinute, now.wSecond}};
}

}  // namespace kestrova::win32
