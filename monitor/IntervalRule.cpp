#include "monitor/IntervalRule.h"

#include <cmath>

namespace kestrova {

std::optional<std::int32_t> IntervalFromPeriod(double seconds) {
    if (!std::isfinite(seconds)) return std::nullopt;
    // Range-check in double before converting: a period like 1e12 would
    // overflow the 32-bit integer, which is undefined behaviour, not a wrap.
    const double milliseconds = std::floor(seconds) * 1000.0;
    if (milliseconds < 0.0 || milliseconds > kLongestTimerInterval) return std::nullopt;
    return static_cast<std::int32_t>(milliseconds);
}

}  // namespace kestrova
