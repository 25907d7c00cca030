// The local time of day from GetLocalTime.
#pragma once

#include "platform/Clock.h"

namespace kestrova::win32 {

class Win32Clock final : public Clock {
public:
    TimeOfDay Now() const override;
};

}  // namespace kestrova::win32
