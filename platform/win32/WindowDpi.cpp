#include "platform/win32/WindowDpi.h"

#include "platform/win32/SystemLibrary.h"

namespace kestrova::win32 {

const DpiSources& DpiSources::System() {
    static const SystemLibrary shcore(L"shcore.dll");
    static const DpiSources sources = [] {
        DpiSources found;
        if (const HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
            // Through a generic function pointer type: a direct cast between
            // unrelated function types draws -Wcast-function-type.
            found.forWindow = reinterpret_cast<ForWindow>(
                reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")));
        }
        found.forMonitor = shcore.Entry<ForMonitor>("GetDpiForMonitor");
        return found;
    }();
    return sources;
}

unsigned WindowDpi(HWND hwnd, const DpiSources& sources) {
    if (sources.forWindow) {
        if (const UINT dpi = sources.forWindow(hwnd)) return dpi;
    }
    if (sources.forMonitor) {
        UINT x = 0;
        UINT y = 0;
        const HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(sources.forMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y) return y;
    }
    int dpi = 0;
    if (const HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96u;
}

}  // namespace kestrova::win32
