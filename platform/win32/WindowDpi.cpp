#include "platform/win32/WindowDpi.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/User32Entry.h"

namespace kestrova::win32 {

namespace {

unsigned OfMonitor(HWND hwnd, const DpiSources& sources) {
    if (!sources.forMonitor) return 0;
    UINT x = 0;
    UINT y = 0;
    const HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
    return SUCCEEDED(sources.forMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) ? y : 0;
}

}  // namespace

const DpiSources& DpiSources::System() {
    static const SystemLibrary shcore(L"shcore.dll");
    static const DpiSources sources = [] {
        DpiSources found;
        found.forWindow = User32Entry<ForWindow>("GetDpiForWindow");
        found.forMonitor = shcore.Entry<ForMonitor>("GetDpiForMonitor");
        found.windowContext = User32Entry<WindowContext>("GetWindowDpiAwarenessContext");
        found.contextsEqual = User32Entry<ContextsEqual>("AreDpiAwarenessContextsEqual");
        found.processAwareness = shcore.Entry<ProcessAwareness>("GetProcessDpiAwareness");
        found.scaleNonClient = User32Entry<ScaleNonClient>("EnableNonClientDpiScaling");
        return found;
    }();
    return sources;
}

unsigned WindowDpi(HWND hwnd, const DpiSources& sources) {
    if (sources.forWindow) {
        if (const UINT dpi = sources.forWindow(hwnd)) return dpi;
    }
    if (const unsigned dpi = OfMonitor(hwnd, sources)) return dpi;
    int dpi = 0;
    if (const HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96u;
}

unsigned MonitorDpi(HWND hwnd, const DpiSources& sources) {
    if (const unsigned dpi = OfMonitor(hwnd, sources)) return dpi;
    return WindowDpi(hwnd, sources);
}

bool IsPerMonitorV1(HWND hwnd, const DpiSources& sources) {
    if (sources.windowContext && sources.contextsEqual) {
        const DPI_AWARENESS_CONTEXT context = sources.windowContext(hwnd);
        return context &&
               sources.contextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE) != FALSE;
    }
    // Without the window's answer this is Windows 8.1 to 10 1511, which knew
    // the first way alone.
    PROCESS_DPI_AWARENESS awareness = PROCESS_DPI_UNAWARE;
    return sources.processAwareness && SUCCEEDED(sources.processAwareness(nullptr, &awareness)) &&
           awareness == PROCESS_PER_MONITOR_DPI_AWARE;
}

}  // namespace kestrova::win32
