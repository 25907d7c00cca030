// The user's locale: numbers in, dates and times out.
#pragma once

#include <optional>

#include "platform/Clock.h"
#include "platform/Text.h"

namespace kestrova {

class Locale {
public:
    virtual ~Locale() = default;
    // The locale's decimal separator and number rules; nothing when the text
    // is not a number there.
    virtual std::optional<double> TextToNumber(TextView text) const = 0;
    virtual Text TimeToText(const TimeOfDay& time) const = 0;
    // The date alone, in the user's short date format.
    virtual Text DateToText(const LocalTime& date) const = 0;
};

}  // namespace kestrova
