// The adapter table as the core sees it: a report-view list with keyed rows.
#pragma once

#include <optional>

#include "platform/Text.h"

namespace kestrova {

class ListView {
public:
    virtual ~ListView() = default;

    // Held off while a refresh rebuilds the rows, so the table repaints once.
    virtual void SetRedraw(bool redraw) = 0;
    virtual void DeleteAllItems() = 0;
    // Appends a row; `smallIcon` is the 1-based index into the status images.
    // A row may have no key. Returns the row's position, or nothing when the
    // key is already in the table (then nothing is added).
    virtual std::optional<int> InsertItem(const std::optional<Text>& key, TextView text,
                                          int smallIcon) = 0;
    // Sub-item 1..12 of the row at `row`; false when it cannot be set.
    virtual bool SetItemText(int row, int subItem, TextView text) = 0;

    virtual float Top() const = 0;  // twips
    virtual void SetWidth(float twips) = 0;
    virtual void SetHeight(float twips) = 0;
};

}  // namespace kestrova
