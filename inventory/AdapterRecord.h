// The values read from one Win32_NetworkAdapterConfiguration instance, one
// field per WMI property, named after it. Only the list elements the table
// shows are ever read.
#pragma once

#include <array>
#include <cstdint>

#include "inventory/Reading.h"
#include "platform/Text.h"

namespace kestrova {

struct AdapterRecord {
    Reading<Text> MACAddress;
    Reading<Text> Description;
    std::array<Reading<Text>, 3> IPAddress;
    std::array<Reading<Text>, 1> DefaultIPGateway;
    std::array<Reading<Text>, 3> DNSServerSearchOrder;
    Reading<bool> DHCPEnabled;
    Reading<Text> DNSDomain;
    Reading<std::uint32_t> MTU;
    Reading<Text> ServiceName;
};

}  // namespace kestrova
