// From a refresh period in seconds to the timer's interval in milliseconds.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Timer.h"

namespace kestrova {

// floor(seconds) * 1000, so 2.9 s gives 2000 ms and 0.5 s gives 0 (one
// refresh, no ticks). Nothing when the result is not an interval the timer
// can take: negative, 66 s or more, not a finite number.
std::optional<std::int32_t> IntervalFromPeriod(double seconds);

}  // namespace kestrova
