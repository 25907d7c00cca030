#include "platform/win32/SessionNotice.h"

#include <wtsapi32.h>

namespace kestrova::win32 {

SessionNotice::SessionNotice(HWND window) noexcept
    : window_(window), wtsapi_(L"wtsapi32.dll") {
    using Register = BOOL(WINAPI*)(HWND, DWORD);
    if (const auto registerFor = wtsapi_.Entry<Register>("WTSRegisterSessionNotification")) {
        registered_ = registerFor(window_, NOTIFY_FOR_THIS_SESSION) != FALSE;
    }
}

SessionNotice::~SessionNotice() {
    using Unregister = BOOL(WINAPI*)(HWND);
    if (!registered_) return;
    if (const auto unregister = wtsapi_.Entry<Unregister>("WTSUnRegisterSessionNotification")) {
        unregister(window_);
    }
}

}  // namespace kestrova::win32
