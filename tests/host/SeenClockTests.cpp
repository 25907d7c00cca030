#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "monitor/SeenClock.h"

namespace kestrova {
namespace {

using std::chrono::milliseconds;

milliseconds Ms(double seconds) { return milliseconds(std::llround(seconds * 1000)); }

// One step: an event (none: a refresh's reading) at `awake` seconds with the
// latest input at `input` (nullopt: nobody since long before), then what the
// clock reads, in seconds.
struct Step {
    std::optional<DeskEvent> event;
    double awake;
    std::optional<double> input;
    double seen;
    bool iconic = false;  // minimized without an event saying so
    // The input of that earlier time read again, with another age; and the
    // session's state, when found at this reading.
    std::optional<double> sameInputAs = std::nullopt;
    std::optional<SessionState> found = std::nullopt;
};

using E = DeskEvent;
constexpr std::nullopt_t kRead = std::nullopt;
constexpr std::nullopt_t kNobody = std::nullopt;
constexpr SessionState kLocked{true, false};

// Everything below has somebody at the desk unless it says otherwise.
TEST(SeenClock, AdvancesOnlyWhileSomebodyCanSeeTheWindow) {
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"in front, with input", {{E::Activated, 0, 0, 0}, {kRead, 10, 9, 10}}},
        {"until another application comes in front",
         {{E::Activated, 0, 0, 0}, {E::Deactivated, 5, 4, 5}, {kRead, 20, 19, 5}}},
        {"minimized counts nothing, restored counts again",
         {{E::Activated, 0, 0, 0}, {E::Minimized, 2, 1, 2}, {E::Restored, 10, 9, 2},
          {kRead, 15, 14, 7}}},
        {"a lock while minimized, restored while locked, then unlocked",
         {{E::Activated, 0, 0, 0}, {E::Minimized, 1, 1, 1}, {E::Locked, 2, 2, 1},
          {E::Restored, 3, 3, 1}, {kRead, 5, 5, 1}, {E::Unlocked, 6, 6, 1}, {kRead, 8, 8, 3}}},
        {"a disconnected session",
         {{E::Activated, 0, 0, 0}, {E::Disconnected, 1, 1, 1}, {kRead, 3, 3, 1},
          {E::Connected, 3, 3, 1}, {kRead, 5, 5, 3}}},
        {"asleep, and the resume reported twice",
         {{E::Activated, 0, 0, 0}, {E::Suspended, 2, 2, 2}, {E::Resumed, 2, 2, 2},
          {E::Resumed, 2.1, 2.1, 2.1}, {kRead, 5, 5, 5}}},
        {"a deactivate while suspended",
         {{E::Activated, 0, 0, 0}, {E::Suspended, 1, 1, 1}, {E::Deactivated, 1, 1, 1},
          {E::Resumed, 1, 1, 1}, {kRead, 5, 5, 1}}},
        {"a resume while locked",
         {{E::Activated, 0, 0, 0}, {E::Locked, 1, 1, 1}, {E::Suspended, 2, 2, 1},
          {E::Resumed, 2, 2, 1}, {kRead, 4, 4, 1}, {E::Unlocked, 4, 4, 1}, {kRead, 6, 6, 3}}},
        {"a suspend that never resumes counts nothing",
         {{E::Activated, 0, 0, 0}, {E::Suspended, 1, 1, 1}, {kRead, 9, 9, 1}}},
        {"minimized without being told, as a reading finds it",
         {{E::Activated, 0, 0, 0}, {kRead, 5, 5, 5}, {kRead, 10, 10, 5, true},
          {kRead, 15, 15, 5}, {kRead, 20, 20, 10}}},
        {"input older than 60 s: nobody is there",
         {{E::Activated, 0, 0, 0}, {kRead, 100, 0, 60}}},
        {"input learnt of only at a reading counts from itself on",
         {{E::Activated, 0, 0, 0}, {kRead, 100, 90, 70}}},
        {"the two inputs' minutes overlap: counted once",
         {{E::Activated, 0, 0, 0}, {kRead, 40, 30, 40}, {kRead, 100, 30, 90}}},
        {"input from before the program started",
         {{E::Activated, 0, -50, 0}, {kRead, 20, -50, 10}}},
        {"nobody ever gave input", {{E::Activated, 0, kNobody, 0}, {kRead, 30, kNobody, 0}}},
        {"in the background from the start", {{kRead, 0, 0, 0}, {kRead, 10, 10, 0}}},
        {"a reading earlier than the last counts nothing",
         {{E::Activated, 0, 0, 0}, {kRead, 10, 0, 10}, {kRead, 5, 0, 10}, {kRead, 12, 0, 12}}},
        {"the same input read with a smaller age (a wrapped tick count) is not fresh again",
         {{E::Activated, 0, 0, 0}, {kRead, 100, 0, 60}, {kRead, 200, 195, 60, false, 0}}},
        {"a lost resume: the first input newer than the suspend ends it",
         {{E::Activated, 0, 0, 0}, {E::Suspended, 1, 1, 1}, {kRead, 9, 1, 1}, {kRead, 12, 11, 1},
          {kRead, 15, 11, 4}}},
        {"locked from the start, as the session's state tells",
         {{E::Activated, 0, 0, 0, false, {}, kLocked}, {kRead, 5, 5, 0}, {E::Unlocked, 6, 6, 0},
          {kRead, 8, 8, 2}}},
        {"a lock found at a reading credits nothing since the reading before",
         {{E::Activated, 0, 0, 0}, {kRead, 5, 5, 5}, {kRead, 9, 9, 5, false, {}, kLocked},
          {E::Unlocked, 10, 10, 5}, {kRead, 12, 12, 7}}},
    };
    for (const Case& c : cases) {
        SeenClock clock;
        bool minimized = false;  // as the window would be
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            if (step.event == E::Minimized || step.event == E::Restored) {
                minimized = step.event == E::Minimized;
            }
            DeskReading reading{Ms(step.awake),
                                step.input ? Ms(step.awake - *step.input) : Ms(1e6),
                                minimized || step.iconic};
            const std::optional<double> stamped = step.sameInputAs ? step.sameInputAs : step.input;
            reading.inputStamp = stamped ? static_cast<std::uint32_t>(Ms(*stamped).count()) : ~0u;
            reading.session = step.found;
            if (step.event) clock.Note(*step.event, reading);
            EXPECT_EQ(clock.Read(reading).seen, Ms(step.seen)) << c.what << ", step " << i;
        }
    }
}

// A mark counts from the first input after its change: the clock tells the
// time awake of the latest input and what the clock read at it.
TEST(SeenClock, ToldTheLatestInputAndTheClockThen) {
    SeenClock clock;
    clock.Note(DeskEvent::Activated, {Ms(0), Ms(0), false, 0});
    Presence now = clock.Read({Ms(100), Ms(10), false, 90});
    EXPECT_EQ(now.inputAt, Ms(90));
    EXPECT_EQ(now.seenAtInput, Ms(60)) << "nothing was known fresh between 60 and 90";
    EXPECT_EQ(now.awake, Ms(100));
    now = clock.Read({Ms(110), Ms(19), false, 90});
    EXPECT_EQ(now.inputAt, Ms(90)) << "the same input, its age a tick short: no newer input";
    EXPECT_EQ(now.seenAtInput, Ms(60));
}

}  // namespace
}  // namespace kestrova
