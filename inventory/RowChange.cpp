#include "inventory/RowChange.h"

#include "inventory/AdapterRow.h"

namespace kestrova {

RowChange CompareRows(const AdapterRow& before, const AdapterRow& after) {
    RowChange change;
    change.row = after;
    for (int column = 0; column <= kSubItemCount; ++column) {
        const TextView was = CellText(before, column);
        const TextView is = CellText(after, column);
        if (was != is) change.cells.push_back({column, Text(was), Text(is)});
    }
    if (before.smallIcon != after.smallIcon) change.lightBefore = before.smallIcon;
    return change;
}

}  // namespace kestrova
