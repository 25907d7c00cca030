// Session lock, unlock, connect and disconnect sent to a window as
// WM_WTSSESSION_CHANGE, and the session's state as it is when the notices
// begin. wtsapi32 is no known DLL, so it is loaded from the system folder at
// run time rather than imported; where it cannot be, the window goes
// without the notices (and a lock then counts as seen while input goes on).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "platform/Desk.h"
#include "platform/win32/SystemLibrary.h"

namespace kestrova::win32 {

class SessionNotice {
public:
    // What the notices take from the system; a test plays it. An empty
    // part is a call the system lacks.
    struct Calls {
        std::function<bool(HWND)> registerFor;
        std::function<void(HWND)> unregister;
        // The session's state now; none when the system cannot tell.
        std::function<std::optional<SessionState>()> state;
        // Whether the session service has started and takes registrations.
        std::function<bool()> serviceReady;
    };

    // The system's calls.
    explicit SessionNotice(HWND window);
    SessionNotice(HWND window, Calls calls);
    // Unregisters: must run before the window is destroyed.
    ~SessionNotice();
    SessionNotice(const SessionNotice&) = delete;
    SessionNotice& operator=(const SessionNotice&) = delete;

    // Registers the window for the notices if it is not yet. At logon (a
    // program in the Startup folder) the session service may not be up and
    // the first try fails; a later one is made only once the service says
    // it is ready, so retrying costs nothing meanwhile. When the
    // registration has just taken hold, the session's state as it is now,
    // if the system can tell: the notices tell only of later changes.
    std::optional<SessionState> Register();
    bool Registered() const noexcept { return registered_; }

private:
    HWND window_;
    std::unique_ptr<SystemLibrary> wtsapi_;  // the system's calls' DLL
    Calls calls_;
    bool tried_ = false;
    bool registered_ = false;
};

}  // namespace kestrova::win32
