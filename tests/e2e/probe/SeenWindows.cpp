#include "SeenWindows.h"

#include <commctrl.h>

#include <vector>

#include "TargetWindow.h"

namespace kestrova::e2e {

namespace {

DWORD ProcessOf(HWND hwnd) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return process;
}

struct Search {
    DWORD process;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK Look(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    if (ProcessOf(hwnd) != search.process || std::wstring(name) != search.className) return TRUE;
    if (search.visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
    search.found = hwnd;
    return FALSE;
}

HWND FindOf(HWND main, const wchar_t* className, bool visibleOnly) {
    Search search{ProcessOf(main), className, visibleOnly, nullptr};
    EnumWindows(&Look, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

namespace {

LRESULT CALLBACK PadProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A small window of the probe's own at `x` (negative: from the right edge)
// and 50 px above the bottom, its messages pumped for `seconds`.
int ShowFor(double seconds, const wchar_t* className, WNDPROC procedure, DWORD exStyle,
            HBRUSH brush, int x, bool front) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = brush;
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
    const int right = GetSystemMetrics(SM_CXSCREEN);
    const int bottom = GetSystemMetrics(SM_CYSCREEN);
    const HWND own = CreateWindowExW(exStyle, className, className, WS_POPUP,
                                     x < 0 ? right + x : x, bottom - 50, 80, 40, nullptr, nullptr,
                                     instance, nullptr);
    if (!own) return 2;
    ShowWindow(own, front ? SW_SHOW : SW_SHOWNOACTIVATE);
    if (front) SetForegroundWindow(own);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    MSG message{};
    while (GetTickCount64() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    DestroyWindow(own);
    return 0;
}

}  // namespace

int HoldFront(double seconds) {
    return ShowFor(seconds, L"KestrovaProbeInFront", DefWindowProcW, 0,
                   static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)), -90, true);
}

int InputPad(double seconds) {
    return ShowFor(seconds, L"KestrovaProbeInputPad", PadProc,
                   WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                   static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)), 10, false);
}

std::wstring ForegroundOwner(HWND main) {
    const HWND front = GetForegroundWindow();
    return front && ProcessOf(front) == ProcessOf(main) ? L"kestrova" : L"other";
}

std::optional<std::wstring> VisibleTipText(HWND main) {
    const HWND tip = FindOf(main, TOOLTIPS_CLASSW, true);
    if (!tip) return std::nullopt;
    return TextOf(tip);
}

HWND ChangesWindowOf(HWND main) {
    return FindOf(main, L"KestrovaChanges", false);
}

}  // namespace kestrova::e2e
