// The local date and time.
#pragma once

namespace kestrova {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// A moment as the user's clock showed it. Kept as values and put into words
// only when shown, so that a text can say the date once a day has passed.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    TimeOfDay time;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

inline bool SameDay(const LocalTime& a, const LocalTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

}  // namespace kestrova
