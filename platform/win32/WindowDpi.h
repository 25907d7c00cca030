// The DPI a window is drawn at, asked the newest way the system offers. The
// program is per-monitor aware on Windows 8.1 and later and system aware on
// Windows 8.0 (its manifest), so the answer must follow the same steps:
// GetDpiForWindow (Windows 10 1607 on); else GetDpiForMonitor for the
// window's monitor (Windows 8.1 on); else the system DPI.
#pragma once

#include <windows.h>

#include <shellscalingapi.h>

namespace kestrova::win32 {

struct DpiSources {
    using ForWindow = UINT(WINAPI*)(HWND);
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);
    using WindowContext = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using ContextsEqual = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    using ProcessAwareness = HRESULT(WINAPI*)(HANDLE, PROCESS_DPI_AWARENESS*);
    using ScaleNonClient = BOOL(WINAPI*)(HWND);

    ForWindow forWindow = nullptr;    // user32's GetDpiForWindow
    ForMonitor forMonitor = nullptr;  // shcore's GetDpiForMonitor
    // How a window is aware (user32's GetWindowDpiAwarenessContext and
    // AreDpiAwarenessContextsEqual, Windows 10 1607 on), else how the
    // process is (shcore's GetProcessDpiAwareness, Windows 8.1 on).
    WindowContext windowContext = nullptr;
    ContextsEqual contextsEqual = nullptr;
    ProcessAwareness processAwareness = nullptr;
    ScaleNonClient scaleNonClient = nullptr;  // user32's EnableNonClientDpiScaling

    // What this Windows has. Looked up once, never imported: shcore.dll
    // comes from the system folder alone and stays loaded.
    static const DpiSources& System();
};

// Never 0: a step that is missing or fails gives way to the next.
unsigned WindowDpi(HWND hwnd, const DpiSources& sources = DpiSources::System());

// The DPI of the monitor the window now stands on. A window's own DPI is the
// last one WM_DPICHANGED told it, and a hidden window moved onto a monitor
// of another DPI is not promised that message; so the monitor is asked
// first, then as WindowDpi.
unsigned MonitorDpi(HWND hwnd, const DpiSources& sources = DpiSources::System());

// Per-monitor aware the first way (Windows 8.1 to 10 1703), where the system
// scales a window's caption and frame only if it asks at WM_NCCREATE. The
// second way (from 1703) scales them by itself.
bool IsPerMonitorV1(HWND hwnd, const DpiSources& sources = DpiSources::System());

}  // namespace kestrova::win32
