// A row's status light: the 1-based index of its image in the status list.
#pragma once

#include "inventory/AdapterRecord.h"

namespace kestrova {

enum class AdapterStatus : int {
    Complete = 1,     // first gateway and first DNS server
    NoDnsServer = 2,  // a first gateway, but no first DNS server
    NoGateway = 3,    // no first gateway, whatever the DNS servers
};

// A missing gateway outranks a missing DNS server. Absent (null, failed) and
// the empty text both count as missing.
AdapterStatus StatusOf(const AdapterRecord& record);

}  // namespace kestrova
