// What the user sees of the table beyond its cells: where they are in it
// (the selected and focused rows, the top row, the sideways scroll) and the
// order the rows are in, judged by the probe's own reading of the cells.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TargetWindow.h"

namespace kestrova::e2e {

struct TablePlace {
    int rows = 0;
    int topIndex = -1;
    std::wstring top;  // first-column texts
    std::wstring focused;
    std::vector<std::wstring> selected;
    int scrollX = 0;  // pixels scrolled sideways
};

std::optional<TablePlace> PlaceOf(const RemoteList& list);

// Rows (display order, 13 cells each) sorted by `column` as promised:
// addresses as addresses (IPv4 before IPv6), the MTU as a number, other
// columns as text regardless of case, empty cells last both ways, and rows
// with equal cells in `wmiOrder` (first-column texts in the order WMI
// delivers them). Nothing when they are; else the first pair that is not.
std::optional<std::wstring> SortFault(const std::vector<std::vector<std::wstring>>& rows,
                                      int column, bool ascending,
                                      const std::vector<std::wstring>& wmiOrder);

}  // namespace kestrova::e2e
