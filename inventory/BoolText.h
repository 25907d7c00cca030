// The words a boolean shows as in the table.
#pragma once

#include "platform/Text.h"

namespace kestrova {

inline Text BoolText(bool value) { return value ? u"True" : u"False"; }

}  // namespace kestrova
