// Which colours the form and each control paint with. Without high contrast
// they are the control table's own. With it they come in the pairs that
// high-contrast schemes keep readable together, so that the user's scheme,
// not the program's palette, decides: a back colour from one pair and a text
// colour from another may be unreadable on a scheme the user picked.
#pragma once

#include "window/ControlTable.h"

namespace kestrova {

struct ColourPair {
    ControlColour back;
    ControlColour fore;
    friend constexpr bool operator==(const ColourPair&, const ColourPair&) = default;
};

ColourPair ControlColours(ControlId id, bool highContrast);
ColourPair FormColours(bool highContrast);

}  // namespace kestrova
