#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/Win32Clock.h"

namespace kestrova::win32 {
namespace {

int SecondOfDay(const SYSTEMTIME& t) {
    return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond;
}
int SecondOfDay(const TimeOfDay& t) {
    return (t.hour * 60 + t.minute) * 60 + t.second;
}

// The clock's reading lies between two readings of the local time taken
// around it (retried if midnight falls in between).
TEST(Win32ClockTests, ReadsTheLocalTimeOfDay) {
    const Win32Clock clock;
    for (int attempt = 0; attempt < 3; ++attempt) {
        SYSTEMTIME before{};
        SYSTEMTIME after{};
        GetLocalTime(&before);
        const LocalTime today = clock.Now();
        const TimeOfDay now = today.time;
        GetLocalTime(&after);
        if (SecondOfDay(after) < SecondOfDay(before)) continue;  // midnight passed
        EXPECT_GE(SecondOfDay(now), SecondOfDay(before));
        EXPECT_LE(SecondOfDay(now), SecondOfDay(after));
        EXPECT_GE(now.hour, 0);
        EXPECT_LE(now.hour, 23);
        EXPECT_LE(now.minute, 59);
        EXPECT_LE(now.second, 59);
        EXPECT_EQ(today.year, before.wYear);
        EXPECT_EQ(today.month, before.wMonth);
        EXPECT_EQ(today.day, before.wDay);
        return;
    }
    FAIL() << "midnight three times in a row";
}

}  // namespace
}  // namespace kestrova::win32
