// The desk as the system reports it: time awake from the interrupt time
// that stops in sleep, the session's latest input, and the session's state
// once its notices begin.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "platform/Desk.h"
#include "platform/win32/SessionNotice.h"

namespace kestrova::win32 {

class Win32Desk final : public Desk {
public:
    // Without calls, the system's.
    explicit Win32Desk(HWND window, std::optional<SessionNotice::Calls> session = std::nullopt);
    ~Win32Desk() override;

    // The window hears of locks and disconnects from now on: after the form
    // has loaded, so that the notices find it. The session's state as it is
    // now comes with the next reading; a registration that fails is tried
    // again at each reading (every refresh takes one) until it holds.
    void WatchSession();
    // Before the window is destroyed.
    void StopWatchingSession();

    DeskReading Read() override;

private:
    void Register();

    HWND window_;
    std::optional<SessionNotice::Calls> calls_;
    std::unique_ptr<SessionNotice> session_;
    std::optional<SessionState> found_;  // learned, not yet read
    DWORD lastStamp_ = 0;
};

}  // namespace kestrova::win32
