#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "monitor/IntervalRule.h"

namespace kestrova {
namespace {

TEST(IntervalRule, FloorsThePeriodToWholeSeconds) {
    const struct {
        double seconds;
        std::int32_t milliseconds;
    } accepted[] = {
        {60, 60000}, {2.9, 2000}, {65, 65000}, {65.9, 65000}, {1, 1000},
        {0, 0},      {0.5, 0},    {0.999, 0},  {-0.0, 0},     {65.999999, 65000},
    };
    for (const auto& c : accepted) {
        const auto interval = IntervalFromPeriod(c.seconds);
        ASSERT_TRUE(interval) << c.seconds;
        EXPECT_EQ(*interval, c.milliseconds) << c.seconds;
    }
}

TEST(IntervalRule, RefusesWhatTheTimerCannotTake) {
    const double refused[] = {
        -0.5,  // floor is -1
        -1,
        66,
        66.5,
        1e12,  // beyond the 32-bit range
        -1e12,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::max(),
    };
    for (double seconds : refused) {
        EXPECT_FALSE(IntervalFromPeriod(seconds)) << seconds;
    }
}

}  // namespace
}  // namespace kestrova
