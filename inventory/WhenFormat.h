// A moment put into words for the user: the time alone for a moment of
// today, the user's short date and the time for an earlier one, so that a
// monitor left running over a weekend tells which day a change came.
#pragma once

#include <optional>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/Text.h"

namespace kestrova {

class WhenFormat {
public:
    // Without `today`, every moment carries its date: text that leaves the
    // program (a copy) may be read on another day.
    WhenFormat(const Locale& locale, std::optional<LocalTime> today)
        : locale_(locale), today_(today) {}

    Text operator()(const LocalTime& at) const;

private:
    const Locale& locale_;
    std::optional<LocalTime> today_;
};

}  // namespace kestrova
