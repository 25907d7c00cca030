// What the desk tells of the person at it: how long the computer has been
// awake, and how long ago anybody gave keyboard or mouse input.
#pragma once

#include <chrono>

namespace kestrova {

struct DeskReading {
    // A clock that stops while the computer sleeps.
    std::chrono::milliseconds awake{0};
    // How long ago the latest input was, anywhere in the session, on the
    // same scale (never negative).
    std::chrono::milliseconds inputAge{0};
    // The program's window is minimized now: read as well as told, since
    // not every way of minimizing a window says so.
    bool minimized = false;
};

class Desk {
public:
    virtual ~Desk() = default;
    virtual DeskReading Read() const = 0;
};

}  // namespace kestrova
