// The table's selected rows as clipboard text: a header line, then one line
// per row, cells separated by tabs, lines ended by CR LF, ready to paste into
// a spreadsheet.
#pragma once

#include <vector>

#include "platform/Text.h"

namespace kestrova {

using TableRowTexts = std::vector<Text>;

// A tab or line break inside a cell would shift the columns of the pasted
// table, so each becomes a space.
Text SelectionText(const TableRowTexts& headers, const std::vector<TableRowTexts>& rows);

}  // namespace kestrova
