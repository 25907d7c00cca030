// The words for what changed, shared by the table's tips, the list of
// changes and what a screen reader hears. One place, so all three say the
// same thing the same way.
#pragma once

#include <vector>

#include "inventory/AdapterStatus.h"
#include "inventory/RowChange.h"
#include "inventory/WhenFormat.h"
#include "platform/Clock.h"
#include "platform/Text.h"

namespace kestrova {

// "green, gateway and DNS server", "yellow, gateway but no DNS server",
// "red, no default gateway".
TextView LightMeaning(AdapterStatus light);

// What a screen reader says for a row: its MAC address and its light,
// "00:15:5d:01:02:03, light green, gateway and DNS server".
Text AccessibleRowName(const AdapterRow& row);

// "IP: 10.0.0.5 → 10.0.0.6"; an empty cell reads "none", so that a value
// that appeared or vanished can be seen.
Text DescribeCell(const CellChange& cell);
// "Light: yellow, no DNS server → green".
Text DescribeLight(AdapterStatus before, AdapterStatus after);
// The row's IP addresses, "10.0.0.5, fe80::1", or "no address".
Text AddressesOf(const AdapterRow& row);

// One line per thing that happened, in the order a reader wants them:
// "Came with 10.0.0.5", "Went; last addresses: 10.0.0.5", each changed cell,
// then the light.
std::vector<Text> DescribeChange(const RowChange& change);

// A change the table keeps on a marked row, with the time it was seen.
struct MarkedChange {
    LocalTime when;
    RowChange change;
};

// The tip of a marked row: each change, newest first, headed by its time.
Text DescribeMarks(const std::vector<MarkedChange>& history, const WhenFormat& when);

}  // namespace kestrova
