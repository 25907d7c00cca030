// The desk as the system reports it: time awake from the interrupt time
// that stops in sleep, and the age of the session's latest input.
#pragma once

#include "platform/Desk.h"

namespace kestrova::win32 {

class Win32Desk final : public Desk {
public:
    DeskReading Read() const override;
};

}  // namespace kestrova::win32
