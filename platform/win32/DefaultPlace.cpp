#include "platform/win32/DefaultPlace.h"

#include <algorithm>

namespace kestrova::win32 {

POINT SystemDefaultPlace(HINSTANCE instance) {
    POINT place{0, 0};
    const HWND probe =
        CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!probe) return place;
    RECT at{};
    if (GetWindowRect(probe, &at)) place = {at.left, at.top};
    DestroyWindow(probe);
    return place;
}

namespace {

POINT KeptOn(HMONITOR on, POINT place, SIZE size) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    const RECT work =
        GetMonitorInfoW(on, &monitor)
            ? monitor.rcWork
            : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return POINT{std::max(work.left, std::min(place.x, work.right - size.cx)),
                 std::max(work.top, std::min(place.y, work.bottom - size.cy))};
}

}  // namespace

POINT KeptOnWorkArea(POINT place, SIZE size) {
    return KeptOn(MonitorFromPoint(place, MONITOR_DEFAULTTOPRIMARY), place, size);
}

POINT CentredOn(HWND owner, SIZE size) {
    RECT around{};
    GetWindowRect(owner, &around);
    const POINT centred{around.left + (around.right - around.left - size.cx) / 2,
                        around.top + (around.bottom - around.top - size.cy) / 2};
    return KeptOn(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), centred, size);
}

}  // namespace kestrova::win32
