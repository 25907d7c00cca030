// The local date and time from GetLocalTime.
#pragma once

#include "platform/Clock.h"

namespace kestrova::win32 {

class Win32Clock final : public Clock {
public:
    LocalTime Now() const override;
};

}  // namespace kestrova::win32
