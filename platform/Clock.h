// The local time of day.
#pragma once

namespace kestrova {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimeOfDay Now() const = 0;
};

}  // namespace kestrova
