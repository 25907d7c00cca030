// Whether a person can have seen the window, as one clock: it advances only
// while Kestrova is the foreground application, not minimized, in a session
// that is neither locked nor disconnected, on a computer that is awake, and
// while the latest keyboard or mouse input is at most kPresenceFor old. A
// change mark counts this clock from the first input after its change, so a
// change that came to an empty desk stays marked until somebody is back.
//
// An input is known by the system's stamp for it: read again, it is the
// same input, however its age reads. A lock or a minimize found at a reading
// rather than told when it came credits nothing since the reading before.
// A suspend ends at its resume or at the first input newer than it.
//
// Fed events and readings; keeps a constant-size state, never a history.
#pragma once

#include <chrono>
#include <cstdint>

#include "inventory/RefreshStamp.h"
#include "platform/Desk.h"

namespace kestrova {

// Input older than this means nobody is looking.
inline constexpr std::chrono::milliseconds kPresenceFor{60000};

enum class DeskEvent {
    Activated,     // Kestrova became the foreground application
    Deactivated,   // another application did
    Minimized,
    Restored,
    Locked,        // the session's lock screen came up
    Unlocked,
    Disconnected,  // console or remote session disconnected
    Connected,
    Suspended,     // the computer goes to sleep
    Resumed,       // may come twice for one sleep
};

class SeenClock {
public:
    // Advances the clock to `now` under the conditions so far, then applies
    // the event. Repeated events (a resume reported twice) change nothing.
    void Note(DeskEvent event, DeskReading now);
    Presence Read(DeskReading now);

private:
    void Advance(DeskReading now);
    bool Counting() const;

    bool foreground_ = false;
    bool minimized_ = false;
    bool locked_ = false;
    bool disconnected_ = false;
    bool suspended_ = false;

    bool started_ = false;
    std::chrono::milliseconds seen_{0};
    std::chrono::milliseconds readAt_{0};  // time awake at the last reading
    std::chrono::milliseconds inputAt_ = std::chrono::milliseconds::min();
    std::uint32_t inputStamp_ = 0;
    std::chrono::milliseconds seenAtInput_{0};
};

}  // namespace kestrova
