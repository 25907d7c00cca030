// The system's DPI calls as Windows 10 1607 answers for a window (120 here)
// and Windows 8.1 for a monitor (144 here); a window's awareness, and the
// process's, as given.
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
template <LONG_PTR Context>
DPI_AWARENESS_CONTEXT WINAPI WindowAware(HWND) {
    return reinterpret_cast<DPI_AWARENESS_CONTEXT>(Context);
}
inline BOOL WINAPI SameContext(DPI_AWARENESS_CONTEXT a, DPI_AWARENESS_CONTEXT b) {
    return a == b;
}
template <PROCESS_DPI_AWARENESS Awareness>
HRESULT WINAPI ProcessAware(HANDLE, PROCESS_DPI_AWARENESS* out) {
    *out = Awareness;
    return S_OK;
}

}  // namespace kestrova::win32
