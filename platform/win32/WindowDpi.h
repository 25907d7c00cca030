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

    ForWindow forWindow = nullptr;    // user32's GetDpiForWindow
    ForMonitor forMonitor = nullptr;  // shcore's GetDpiForMonitor

    // What this Windows has. Looked up once, never imported: shcore.dll
    // comes from the system folder alone and stays loaded.
    static const DpiSources& System();
};

// Never 0: a step that is missing or fails gives way to the next.
unsigned WindowDpi(HWND hwnd, const DpiSources& sources = DpiSources::System());

}  // namespace kestrova::win32
