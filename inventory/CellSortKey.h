// What a cell sorts by when its column's header is clicked. Addresses sort
// as addresses (every IPv4 address before every IPv6 one, each by value, so
// 10.0.0.9 comes before 10.0.0.10), the MTU by value, every other column as
// text without regard to case. An empty cell sorts last in either direction:
// it says nothing about the adapter that could put it first.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Text.h"

namespace kestrova {

enum class ColumnKind : std::uint8_t { Text, Address, Number };

// `column` counts from 0, the MAC address column.
ColumnKind KindOfColumn(int column);

struct CellSortKey {
    // Within a kind, values that parse come first: IPv4, then IPv6, then
    // texts that are no address; numbers, then texts that are no number.
    std::uint8_t group = 0;
    std::array<std::uint8_t, 16> value{};  // big-endian: compares as bytes
    Text text;                             // case-folded; an IPv6 scope
    bool empty = true;                     // absent or the empty text
};

// An absent cell and the empty text are the same here: both sort last.
CellSortKey SortKeyOf(ColumnKind kind, TextView cell);

// Negative, zero or positive as `a` sorts before, with or after `b` in
// ascending order. Empty keys are for the caller to place; they compare
// equal to each other here.
int Compare(const CellSortKey& a, const CellSortKey& b);

}  // namespace kestrova
