#include "platform/win32/Win32Desk.h"

#include <windows.h>

#include <realtimeapiset.h>

#include <utility>

namespace kestrova::win32 {

Win32Desk::Win32Desk(HWND window, std::optional<SessionNotice::Calls> session)
    : window_(window), calls_(std::move(session)) {}

Win32Desk::~Win32Desk() = default;

void Win32Desk::WatchSession() {
    if (session_) return;
    session_ = calls_ ? std::make_unique<SessionNotice>(window_, *calls_)
                      : std::make_unique<SessionNotice>(window_);
    Register();
}

void Win32Desk::StopWatchingSession() {
    session_.reset();
    found_.reset();
}

void Win32Desk::Register() {
    if (!session_ || session_->Registered()) return;
    if (std::optional<SessionState> state = session_->Register()) found_ = state;
}

DeskReading Win32Desk::Read() {
    Register();
    // Not GetTickCount64: it counts the hours a laptop sleeps, and a mark
    // must not pass for seen overnight.
    ULONGLONG awake100ns = 0;
    QueryUnbiasedInterruptTime(&awake100ns);
    DeskReading reading;
    reading.awake = std::chrono::milliseconds(static_cast<long long>(awake100ns / 10000));
    // GetLastInputInfo stamps input on GetTickCount: the stamp tells one
    // input from the next, and its age is only the difference from now,
    // taken in 32 bits. It wraps after 49.7 days and counts sleep; the seen
    // clock knows the same stamp read again for the same input.
    LASTINPUTINFO input{};
    input.cbSize = sizeof(input);
    if (GetLastInputInfo(&input)) {
        const DWORD age = GetTickCount() - input.dwTime;
        reading.inputAge = std::chrono::milliseconds(static_cast<long long>(age));
        reading.inputStamp = input.dwTime;
        lastStamp_ = input.dwTime;
    } else {
        // Unknown: nobody can be shown to be there. The stamp stays the
        // last one read, so a failed read passes for no new input.
        reading.inputAge = std::chrono::hours(24);
        reading.inputStamp = lastStamp_;
    }
    reading.minimized = IsIconic(window_) != FALSE;
    reading.session = std::exchange(found_, std::nullopt);
    return reading;
}

}  // namespace kestrova::win32
