// The desk as the system reports it: time awake from the interrupt time
// that stops in sleep, and the age of the session's latest input.
#pragma once

#include <windows.h>

#include "platform/Desk.h"

namespace kestrova::win32 {

class Win32Desk final : public Desk {
public:
    explicit Win32Desk(HWND window) : window_(window) {}
    DeskReading Read() const override;

private:
    HWND window_;
};

}  // namespace kestrova::win32
