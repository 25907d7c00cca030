// When a refresh ran: as the user reads it, and as the change marks count it.
#pragma once

#include <chrono>

#include "platform/Text.h"

namespace kestrova {

struct RefreshStamp {
    Text when;  // the time of day, in the user's locale
    // How long the window had been in front, in all, since the program
    // started: a change mark lasts until the user has had time to see it.
    std::chrono::milliseconds seen{0};
};

}  // namespace kestrova
