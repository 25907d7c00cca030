// When a refresh ran: as the user's clock shows it, and as the change marks
// count it.
#pragma once

#include <chrono>

#include "platform/Clock.h"

namespace kestrova {

// The clock of the time a person can have seen the window (see SeenClock),
// as a refresh reads it. A change mark lasts until this clock has advanced
// long enough since the first input after the change.
struct Presence {
    std::chrono::milliseconds seen{0};   // the clock now
    std::chrono::milliseconds awake{0};  // time awake now
    // Time awake at the latest input known, and the clock then.
    std::chrono::milliseconds inputAt = std::chrono::milliseconds::min();
    std::chrono::milliseconds seenAtInput{0};
    friend bool operator==(const Presence&, const Presence&) = default;
};

struct RefreshStamp {
    LocalTime at;
    Presence presence;
};

}  // namespace kestrova
