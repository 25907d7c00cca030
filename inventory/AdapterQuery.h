// What a refresh asks WMI for, and which properties it reads of each answer.
#pragma once

#include "platform/Text.h"

namespace kestrova {

inline constexpr TextView kAdapterQuery =
    u"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled = True";

namespace property {
inline constexpr TextView MACAddress = u"MACAddress";
inline constexpr TextView Description = u"Description";
inline constexpr TextView IPAddress = u"IPAddress";
inline constexpr TextView DefaultIPGateway = u"DefaultIPGateway";
inline constexpr TextView DNSServerSearchOrder = u"DNSServerSearchOrder";
inline constexpr TextView DHCPEnabled = u"DHCPEnabled";
inline constexpr TextView DNSDomain = u"DNSDomain";
inline constexpr TextView MTU = u"MTU";
inline constexpr TextView ServiceName = u"ServiceName";
}  // namespace property

}  // namespace kestrova
