// The table row built from one adapter's record.
#pragma once

#include <array>
#include <optional>

#include "inventory/AdapterRecord.h"
#include "inventory/AdapterStatus.h"
#include "platform/Text.h"

namespace kestrova {

inline constexpr int kSubItemCount = 12;

struct AdapterRow {
    std::optional<Text> key;  // the MAC address; none when WMI has none
    Text text;                // the first column: the MAC address again
    AdapterStatus smallIcon = AdapterStatus::NoGateway;
    // subItems[n - 1] is sub-item n, shown in column n + 1; an absent value
    // leaves the cell unset.
    std::array<std::optional<Text>, kSubItemCount> subItems;

    friend bool operator==(const AdapterRow&, const AdapterRow&) = default;
};

// Nothing when the MAC address could not be read: such an adapter gets no
// row. A null MAC address gives a row with no key and an empty first column.
std::optional<AdapterRow> BuildAdapterRow(const AdapterRecord& record);

// The text a column shows: column 0 is the row's text, column n sub-item n.
// An absent value shows as the empty text.
TextView CellText(const AdapterRow& row, int column);

}  // namespace kestrova
