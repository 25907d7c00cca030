// Session lock, unlock, connect and disconnect sent to a window as
// WM_WTSSESSION_CHANGE. wtsapi32 is no known DLL, so it is loaded from the
// system folder at run time rather than imported; where it cannot be, the
// window goes without the notices (and a locked desk then counts as seen
// only while input goes on, which the lock screen does not pass on).
#pragma once

#include <windows.h>

#include "platform/win32/SystemLibrary.h"

namespace kestrova::win32 {

class SessionNotice {
public:
    explicit SessionNotice(HWND window) noexcept;
    // Unregisters: must run before the window is destroyed.
    ~SessionNotice();
    SessionNotice(const SessionNotice&) = delete;
    SessionNotice& operator=(const SessionNotice&) = delete;

    bool Registered() const noexcept { return registered_; }

private:
    HWND window_;
    SystemLibrary wtsapi_;
    bool registered_ = false;
};

}  // namespace kestrova::win32
