#include "platform/win32/Win32Timer.h"

#include <algorithm>

namespace kestrova::win32 {
namespace {

std::int32_t Clamped(std::int32_t milliseconds) {
    return std::clamp<std::int32_t>(milliseconds, 0, kLongestTimerInterval);
}

}  // namespace

Win32Timer::Win32Timer(HWND owner, UINT_PTR timerId, std::int32_t interval)
    : owner_(owner), timerId_(timerId), interval_(Clamped(interval)) {}

Win32Timer::~Win32Timer() {
    // The owner may already be gone with its timers (the window closed first).
    if (enabled_ && IsWindow(owner_)) KillTimer(owner_, timerId_);
}

bool Win32Timer::SetInterval(std::int32_t milliseconds) {
    interval_ = Clamped(milliseconds);
    return Apply();
}

bool Win32Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return true;
    enabled_ = enabled;
    return Apply();
}

bool Win32Timer::Apply() {
    // SetTimer with 0 ms would fire about every 10 ms (USER_TIMER_MINIMUM),
    // but an interval of 0 means "never".
    if (enabled_ && interval_ > 0) {
        // Replacing a timer with the same id restarts its count.
        if (SetTimer(owner_, timerId_, static_cast<UINT>(interval_), nullptr) == 0) {
            enabled_ = false;
            return false;
        }
    } else {
        KillTimer(owner_, timerId_);
    }
    return true;
}

}  // namespace kestrova::win32
