// The system's DPI calls as a Windows of each age answers them: for a window
// (10 1607 on) or for its monitor (8.1 on).
#pragma once

#include <windows.h>

#include <shellscalingapi.h>

namespace kestrova::win32 {

inline UINT WINAPI WindowAt120(HWND) { return 120; }
inline HRESULT WINAPI MonitorAt144(HMONITOR monitor, MONITOR_DPI_TYPE type, UINT* x, UINT* y) {
    MONITORINFO info{sizeof(info), {}, {}, 0};
    if (type != MDT_EFFECTIVE_DPI || !GetMonitorInfoW(monitor, &info)) return E_INVALIDARG;
    *x = *y = 144;
    return S_OK;
}

}  // namespace kestrova::win32
