// What the desk tells of the person at it: how long the computer has been
// awake, how long ago anybody gave keyboard or mouse input, and whether the
// session is locked.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace kestrova {

// The session as the system describes it when asked, rather than as its
// notices tell of each change.
struct SessionState {
    bool locked = false;
    bool disconnected = false;
    friend bool operator==(const SessionState&, const SessionState&) = default;
};

struct DeskReading {
    // A clock that stops while the computer sleeps.
    std::chrono::milliseconds awake{0};
    // How long ago the latest input anywhere in the session came, counting
    // time asleep (never negative).
    std::chrono::milliseconds inputAge{0};
    // The program's window is minimized now: read as well as told, since
    // not every way of minimizing a window says so.
    bool minimized = false;
    // The system's stamp for that input: another input has another stamp,
    // and the same stamp read again is the same input.
    std::uint32_t inputStamp = 0;
    // The session's state, when just learned (at start, or once its notices
    // could be had): since when it holds is not known.
    std::optional<SessionState> session = std::nullopt;
};

class Desk {
public:
    virtual ~Desk() = default;
    // May register for what the desk cannot yet tell: not const.
    virtual DeskReading Read() = 0;
};

}  // namespace kestrova
