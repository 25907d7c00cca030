// The adapter table's columns: header texts and start-up widths in twips.
// Column 1 shows the row's text; column n + 1 shows sub-item n.
#pragma once

#include <array>

#include "platform/Text.h"

namespace kestrova {

struct AdapterColumn {
    TextView header;
    int widthTwips;
};

inline constexpr std::array<AdapterColumn, 13> kAdapterColumns{{
    {u"Mac", 1700},
    {u"Description", 4000},
    {u"IP", 1350},
    {u"Gateway", 1350},
    {u"DNS", 1350},
    {u"DHCP", 750},
    {u"IP 2", 1300},
    {u"IP 3", 1300},
    {u"DNS 2", 1300},
    {u"DNS 3", 1300},
    {u"Domain", 1300},
    {u"MTU", 750},
    {u"Service Name", 1440},
}};

}  // namespace kestrova
