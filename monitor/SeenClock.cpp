#include "monitor/SeenClock.h"

#include <algorithm>

namespace kestrova {

namespace {

using std::chrono::milliseconds;

// The part of [from, to] that lies in [start, start + kPresenceFor].
milliseconds Overlap(milliseconds from, milliseconds to, milliseconds start) {
    if (start == milliseconds::min()) return milliseconds{0};
    const milliseconds a = std::max(from, start);
    const milliseconds b = std::min(to, start + kPresenceFor);
    return b > a ? b - a : milliseconds{0};
}

// The part of [from, to] in which input is known to have been fresh: within
// kPresenceFor after either of two inputs, `earlier` <= `later`. Inputs in
// between are not known, so nothing is credited for them.
milliseconds FreshWithin(milliseconds from, milliseconds to, milliseconds earlier,
                         milliseconds later) {
    if (to <= from) return milliseconds{0};
    // Where the two windows overlap, the stretch is counted once.
    return Overlap(from, to, earlier) + Overlap(from, to, later) -
           Overlap(std::max(from, later), to, earlier);
}

}  // namespace

bool SeenClock::Counting() const {
    return foreground_ && !minimized_ && !locked_ && !disconnected_ && !suspended_;
}

void SeenClock::Advance(DeskReading now) {
    const milliseconds at = started_ ? std::max(now.awake, readAt_) : now.awake;
    const milliseconds placed = at - std::max(now.inputAge, milliseconds{0});
    // One stamp is one input. Read again, its age has grown by any time
    // asleep and by the tick count's coarse steps, so it may be placed
    // earlier than before but never later: the same input never passes for
    // a newer one, and an age that wrapped after 49.7 days never makes it
    // fresh again.
    const bool sameInput = started_ && now.inputStamp == inputStamp_;
    const milliseconds input = sameInput ? std::min(inputAt_, placed) : placed;
    // Minimized, locked or disconnected now but not told so (or told of a
    // restore that never came): since when is not known, so nothing since
    // the last reading counts.
    const bool missedMinimize = now.minimized != minimized_;
    const bool missedSession = now.session && *now.session != SessionState{locked_, disconnected_};
    const auto takeFound = [&] {
        minimized_ = now.minimized;
        if (now.session) {
            locked_ = now.session->locked;
            disconnected_ = now.session->disconnected;
        }
    };
    if (!started_) {
        // Input before the program started: known, and the clock stood at 0.
        takeFound();
        started_ = true;
        readAt_ = at;
        inputAt_ = input;
        inputStamp_ = now.inputStamp;
        return;
    }
    const milliseconds earlier = sameInput ? input : inputAt_;
    const milliseconds latest = std::max(earlier, input);
    const bool unsure = missedMinimize || missedSession;
    const auto credit = [&](milliseconds to) {
        return Counting() && !unsure ? FreshWithin(readAt_, to, earlier, latest) : milliseconds{0};
    };
    if (!sameInput) {
        // Where the new input falls before this reading's start, the clock
        // then was at most its value at that start: crediting from there is
        // never more than was seen.
        if (input > earlier) seenAtInput_ = seen_ + credit(std::max(readAt_, input));
        inputStamp_ = now.inputStamp;
    }
    inputAt_ = latest;
    seen_ += credit(at);
    readAt_ = at;
    if (unsure) takeFound();
    // Another input since the suspend was read means hands on the keyboard
    // or mouse: the computer is awake again, whether or not its resume
    // reached the window (an aborted suspend, a program frozen under
    // Modern Standby).
    if (!sameInput) suspended_ = false;
}

void SeenClock::Note(DeskEvent event, DeskReading now) {
    // The window is already minimized or restored when it says so; until
    // then it was as before.
    if (event == DeskEvent::Minimized || event == DeskEvent::Restored) now.minimized = minimized_;
    Advance(now);
    switch (event) {
        case DeskEvent::Activated: foreground_ = true; break;
        case DeskEvent::Deactivated: foreground_ = false; break;
        case DeskEvent::Minimized: minimized_ = true; break;
        case DeskEvent::Restored: minimized_ = false; break;
        case DeskEvent::Locked: locked_ = true; break;
        case DeskEvent::Unlocked: locked_ = false; break;
        case DeskEvent::Disconnected: disconnected_ = true; break;
        case DeskEvent::Connected: disconnected_ = false; break;
        case DeskEvent::Suspended: suspended_ = true; break;
        case DeskEvent::Resumed: suspended_ = false; break;
    }
}

Presence SeenClock::Read(DeskReading now) {
    Advance(now);
    return Presence{seen_, readAt_, inputAt_, seenAtInput_};
}

}  // namespace kestrova
