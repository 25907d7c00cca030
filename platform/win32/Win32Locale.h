// Numbers and times in the user's locale, as OLE Automation reads numbers
// (the decimal and thousands separators of the user's settings).
#pragma once

#include "platform/Locale.h"

namespace kestrova::win32 {

class Win32Locale final : public Locale {
public:
    std::optional<double> TextToNumber(TextView text) const override;
    // Empty when the time is out of range.
    Text TimeToText(const TimeOfDay& time) const override;
    Text DateToText(const LocalTime& date) const override;
};

}  // namespace kestrova::win32
