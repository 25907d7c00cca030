// The timer against a real message queue: what counts is which WM_TIMER
// messages reach the owner window, over spans long enough that scheduling
// noise cannot turn a right answer into a wrong one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "platform/win32/Win32Timer.h"
#include "win32/TestWindow.h"

namespace kestrova::win32 {
namespace {

constexpr UINT_PTR kTimerId = 42;

// Counts WM_TIMER for the owner in its window procedure, where the real
// window receives them.
int g_ticks = 0;
UINT_PTR g_lastId = 0;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        ++g_ticks;
        g_lastId = wParam;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Owner : public TestWindow {
public:
    Owner() : TestWindow(L"KestrovaTimerTestOwner", OwnerProc, WS_OVERLAPPEDWINDOW, 100, 100) {
        g_ticks = 0;
        g_lastId = 0;
    }
};

// Runs the message loop for about `milliseconds` and returns the ticks seen
// meanwhile.
int PumpFor(DWORD milliseconds) {
    const int before = g_ticks;
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
    return g_ticks - before;
}

// Drops WM_TIMER already queued, which KillTimer leaves behind.
void DropQueuedTicks(HWND owner) {
    MSG msg;
    while (PeekMessageW(&msg, owner, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
}

TEST(Win32TimerTests, StartsDisabledWithItsInterval) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    Win32Timer timer(owner.hwnd(), kTimerId, 1000);
    EXPECT_FALSE(timer.IsEnabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_EQ(PumpFor(100), 0);
}

TEST(Win32TimerTests, KeepsIntervalsWithinTheRangeItAccepts) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    struct Case {
        std::int32_t given;
        std::int32_t kept;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{65535, 65535}, Case{-1, 0},
                          Case{INT32_MIN, 0}, Case{65536, 65535}, Case{INT32_MAX, 65535}}) {
        Win32Timer timer(owner.hwnd(), kTimerId, c.given);
        EXPECT_EQ(timer.Interval(), c.kept) << "constructed with " << c.given;
        timer.SetInterval(7);
        timer.SetInterval(c.given);
        EXPECT_EQ(timer.Interval(), c.kept) << "set to " << c.given;
    }
}

TEST(Win32TimerTests, ZeroOrNegativeIntervalNeverTicksEvenWhenEnabled) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    for (std::int32_t interval : {0, -5}) {
        Win32Timer timer(owner.hwnd(), kTimerId, interval);
        timer.SetEnabled(true);
        EXPECT_TRUE(timer.IsEnabled());
        EXPECT_EQ(PumpFor(300), 0) << interval;
    }
}

TEST(Win32TimerTests, TicksToTheOwnerWithItsId) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    Win32Timer timer(owner.hwnd(), kTimerId, 50);
    EXPECT_TRUE(timer.SetEnabled(true));
    const int ticks = PumpFor(400);
    // About 8; a 0 ms timer would give about 40.
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 12);
    EXPECT_EQ(g_lastId, kTimerId);
}

TEST(Win32TimerTests, DisablingStopsTheTicks) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    Win32Timer timer(owner.hwnd(), kTimerId, 50);
    timer.SetEnabled(true);
    ASSERT_GE(PumpFor(200), 1);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.IsEnabled());
    DropQueuedTicks(owner.hwnd());
    EXPECT_EQ(PumpFor(300), 0);

    timer.SetEnabled(true);
    EXPECT_GE(PumpFor(300), 2);
}

TEST(Win32TimerTests, IntervalZeroWhileEnabledStopsTheTicks) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    Win32Timer timer(owner.hwnd(), kTimerId, 50);
    timer.SetEnabled(true);
    ASSERT_GE(PumpFor(200), 1);
    timer.SetInterval(0);
    EXPECT_TRUE(timer.IsEnabled());
    DropQueuedTicks(owner.hwnd());
    EXPECT_EQ(PumpFor(300), 0);

    timer.SetInterval(50);
    EXPECT_GE(PumpFor(300), 2);
}

TEST(Win32TimerTests, SettingTheIntervalWhileDisabledDoesNotStartIt) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    Win32Timer timer(owner.hwnd(), kTimerId, 0);
    timer.SetInterval(50);
    EXPECT_FALSE(timer.IsEnabled());
    EXPECT_EQ(PumpFor(300), 0);
}

// A 400 ms timer restarted after 250 ms would, if not restarted, tick at
// 400 ms; restarted, the first tick comes at 650 ms.
TEST(Win32TimerTests, EnablingAndSettingTheIntervalCountFromNow) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    enum class Restart { ByEnabling, BySettingTheInterval };
    for (Restart how : {Restart::ByEnabling, Restart::BySettingTheInterval}) {
        SCOPED_TRACE(how == Restart::ByEnabling ? "enable" : "interval");
        Win32Timer timer(owner.hwnd(), kTimerId, 400);
        timer.SetEnabled(true);
        ASSERT_EQ(PumpFor(250), 0);
        if (how == Restart::ByEnabling) {
            timer.SetEnabled(false);
            timer.SetEnabled(true);
        } else {
            timer.SetInterval(400);
        }
        EXPECT_EQ(PumpFor(250), 0);
        EXPECT_GE(PumpFor(400), 1);
        timer.SetEnabled(false);
        DropQueuedTicks(owner.hwnd());
    }
}

TEST(Win32TimerTests, EnablingAnEnabledTimerKeepsItsCount) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    Win32Timer timer(owner.hwnd(), kTimerId, 400);
    timer.SetEnabled(true);
    ASSERT_EQ(PumpFor(250), 0);
    timer.SetEnabled(true);
    EXPECT_GE(PumpFor(300), 1);  // due at 400 ms, not at 650 ms
}

TEST(Win32TimerTests, DestroyingTheTimerKillsIt) {
    Owner owner;
    ASSERT_NE(owner.hwnd(), nullptr);
    {
        Win32Timer timer(owner.hwnd(), kTimerId, 50);
        timer.SetEnabled(true);
        ASSERT_GE(PumpFor(200), 1);
    }
    DropQueuedTicks(owner.hwnd());
    EXPECT_EQ(PumpFor(300), 0);
}

// With its owner gone SetTimer fails: a call that needs a timer says so
// and leaves the timer off, one that needs none succeeds, none ticks.
TEST(Win32TimerTests, OutlivingItsOwnerIsHarmlessAndReported) {
    const struct {
        const char* what;
        bool enabledBefore;
        bool (*call)(Win32Timer&);
        bool reported;
        bool enabledAfter;
    } cases[] = {
        {"enabling", false, [](Win32Timer& t) { return t.SetEnabled(true); }, false, false},
        {"a new interval while enabled", true, [](Win32Timer& t) { return t.SetInterval(60); },
         false, false},
        {"a new interval while disabled", false, [](Win32Timer& t) { return t.SetInterval(60); },
         true, false},
        {"interval 0 while enabled", true, [](Win32Timer& t) { return t.SetInterval(0); }, true,
         true},
        {"disabling", true, [](Win32Timer& t) { return t.SetEnabled(false); }, true, false},
    };
    for (const auto& c : cases) {
        auto owner = std::make_unique<Owner>();
        ASSERT_NE(owner->hwnd(), nullptr);
        Win32Timer timer(owner->hwnd(), kTimerId, 50);
        ASSERT_TRUE(timer.SetEnabled(c.enabledBefore));
        owner.reset();
        EXPECT_EQ(c.call(timer), c.reported) << c.what << ": SetTimer's failure misreported";
        EXPECT_EQ(timer.IsEnabled(), c.enabledAfter) << c.what;
        EXPECT_EQ(PumpFor(100), 0) << c.what;
    }
}

}  // namespace
}  // namespace kestrova::win32
