// The desk's session notices as at a logon, where the session service starts
// after the program: the test plays the service.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/Win32Desk.h"

namespace kestrova::win32 {
namespace {

// The first registration fails; later ones are tried at readings, only once
// the service says it is ready. When one holds, the session's state rides
// with the next reading, once.
TEST(Win32DeskTests, TheSessionsStateComesWithTheReadingAfterItsNoticesHold) {
    bool ready = false, accepts = false, unregistered = false;
    int tries = 0;
    const SessionState locked{true, false};
    Win32Desk desk(nullptr, SessionNotice::Calls{[&](HWND) { return ++tries, accepts; },
                                                 [&](HWND) { unregistered = true; },
                                                 [&] { return locked; }, [&] { return ready; }});
    desk.WatchSession();
    const struct {
        const char* what;
        bool ready, accepts;
        int tries;
        std::optional<SessionState> read;
    } steps[] = {
        {"the service is not up: no new try", false, false, 1, std::nullopt},
        {"up, but the registration fails again", true, false, 2, std::nullopt},
        {"it holds: the state comes with the reading", true, true, 3, locked},
        {"once", true, true, 3, std::nullopt},
    };
    for (const auto& step : steps) {
        ready = step.ready;
        accepts = step.accepts;
        EXPECT_EQ(desk.Read().session, step.read) << step.what;
        EXPECT_EQ(tries, step.tries) << step.what;
    }
    desk.StopWatchingSession();
    EXPECT_TRUE(unregistered);
}

}  // namespace
}  // namespace kestrova::win32
