#include "inventory/WhenFormat.h"

namespace kestrova {

Text WhenFormat::operator()(const LocalTime& at) const {
    Text time = locale_.TimeToText(at.time);
    if (today_ && SameDay(at, *today_)) return time;
    return locale_.DateToText(at) + u" " + time;
}

}  // namespace kestrova
