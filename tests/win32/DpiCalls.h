// The system's DPI calls as Windows 10 1607 answers for a window (120 here)
// and Windows 8.1 for a monitor (144 here).
#pragma once

#include <windows.h>

#include <shellscalingapi.h>

namespace kestrova::win32 {

inline UINT WINAPI WindowAt120(HWND) { return 120; }
inline HRESULT WINAPI MonitorAt144(HMONITOR monitor, MONITOR_DPI_TYPE type, UINT* x, UINT* y) {
    if (!monitor || type != MDT_EFFECTIVE_DPI) return E_INVALIDARG;
    *x = *y = 144;
    return S_OK;
}

}  // namespace kestrova::win32
