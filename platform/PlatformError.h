// What the platform says when an operation fails: its code (an HRESULT on
// Windows) and its own message text. The core shows both and interprets
// neither, so no Windows type has to cross into it.
#pragma once

#include <cstdint>

#include "platform/Text.h"

namespace kestrova {

struct PlatformError {
    std::uint32_t code = 0;
    Text message;  // may be empty when the platform has no text for the code
};

}  // namespace kestrova
