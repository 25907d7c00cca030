// The WMI moniker for a computer's root\CIMV2 namespace.
#pragma once

#include "platform/Text.h"

namespace kestrova {

// The name goes in verbatim: no trimming, no case folding, no escaping. An
// empty name gives three backslashes, which WMI reads as the local computer.
// No authority or credentials are added: the user's own are used.
Text DisplayName(TextView computerName);

}  // namespace kestrova
