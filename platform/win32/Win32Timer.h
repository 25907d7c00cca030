// The polling timer as WM_TIMER messages to the owner window: the tick
// arrives in the owner's window procedure with wParam equal to the id.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/Timer.h"

namespace kestrova::win32 {

class Win32Timer final : public Timer {
public:
    Win32Timer(HWND owner, UINT_PTR timerId, std::int32_t interval);
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;
    ~Win32Timer() override;

    std::int32_t Interval() const override { return interval_; }
    // Restarts the count when enabled, even for the same interval. When
    // SetTimer fails then, the timer is disabled and the call reports it.
    bool SetInterval(std::int32_t milliseconds) override;
    bool IsEnabled() const override { return enabled_; }
    // Going from disabled to enabled starts the count; enabling an enabled
    // timer leaves its count alone. When SetTimer fails (the owner destroyed,
    // say) the timer is disabled and enabling reports it.
    bool SetEnabled(bool enabled) override;

    UINT_PTR Id() const { return timerId_; }

private:
    // False when SetTimer failed, which leaves the timer disabled.
    bool Apply();

    HWND owner_;
    UINT_PTR timerId_;
    std::int32_t interval_;
    bool enabled_ = false;
};

}  // namespace kestrova::win32
