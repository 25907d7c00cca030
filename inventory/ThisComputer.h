// Whether a computer name, as the user typed it, names the computer the
// program runs on.
#pragma once

#include "platform/RpcEndpoint.h"
#include "platform/Text.h"

namespace kestrova {

// This computer: the empty name and "." (WMI's own words for it),
// "localhost", any of `names`, the IPv4 loopback literals 127.x.y.z and
// "::1". Names compare without regard to ASCII case; anything else, blanks
// included, must match exactly, because the name goes to WMI verbatim and
// " localhost" is not a name WMI takes for this computer.
bool IsThisComputer(TextView name, const ComputerNames& names);

}  // namespace kestrova
