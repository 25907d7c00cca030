// A modal message box owned by the main window, captioned with the
// application's title.
#pragma once

#include <cstdint>

#include "platform/Text.h"

namespace kestrova {

class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void Show(TextView prompt, std::uint32_t style) = 0;
};

inline constexpr std::uint32_t kStyleWarning = 48;  // OK button, warning icon

}  // namespace kestrova
