// An interval timer on the UI thread. An interval of 0 never ticks, even when
// enabled; ticks count from the moment the timer was enabled.
#pragma once

#include <cstdint>

namespace kestrova {

inline constexpr std::int32_t kLongestTimerInterval = 65535;  // milliseconds

class Timer {
public:
    virtual ~Timer() = default;
    virtual std::int32_t Interval() const = 0;
    // 0..kLongestTimerInterval. False when the timer was enabled and the
    // system gave no timer for the new interval: it is then left disabled,
    // as after a failed SetEnabled(true).
    virtual bool SetInterval(std::int32_t milliseconds) = 0;
    virtual bool IsEnabled() const = 0;
    // False when enabling failed: the system gave no timer (a destroyed
    // owner window is one way to get there). The timer is then left
    // disabled. Disabling always succeeds.
    virtual bool SetEnabled(bool enabled) = 0;
};

}  // namespace kestrova
