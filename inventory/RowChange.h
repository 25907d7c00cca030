// What one refresh did to one adapter: it came, it went, or some of its
// cells or its light changed.
#pragma once

#include <optional>
#include <vector>

#include "inventory/AdapterRow.h"

namespace kestrova {

struct CellChange {
    int column;  // as the table counts them: 0 is the MAC address
    Text before;  // an absent value is the empty text
    Text after;
    friend bool operator==(const CellChange&, const CellChange&) = default;
};

struct RowChange {
    enum class Kind { Came, Went, Changed };
    Kind kind = Kind::Changed;
    AdapterRow row;  // as it is now; for one that went, as it was last shown
    std::vector<CellChange> cells;  // Changed: every cell that differs, left to right
    std::optional<AdapterStatus> lightBefore;  // Changed: set when the light changed
    friend bool operator==(const RowChange&, const RowChange&) = default;
};

// The same adapter read twice: what differs between the two rows.
RowChange CompareRows(const AdapterRow& before, const AdapterRow& after);

}  // namespace kestrova
