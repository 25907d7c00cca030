// The rows the adapter table shows and the order it shows them in, and what
// each refresh or header click changed. The table on the screen is a view of
// this: it repaints only the positions an update names and moves the user's
// selection, focus and top row along with the adapters they belong to.
//
// After every refresh the rows are exactly those a rebuild from nothing
// would give, in the order WMI delivered them unless the user chose a sort.
// An adapter is the same from one refresh to the next when its MAC address
// and description are; adapters that share both are matched in order.
#pragma once

#include <vector>

#include "inventory/AdapterRow.h"

namespace kestrova {

enum class SortDirection { None, Ascending, Descending };

struct TableSort {
    int column = -1;  // -1: the order WMI delivered
    SortDirection direction = SortDirection::None;
    friend bool operator==(const TableSort&, const TableSort&) = default;
};

struct TableUpdate {
    int countBefore = 0;
    int countAfter = 0;
    // When reordered: for each position shown before, where its adapter
    // shows now, or -1 when it is gone.
    std::vector<int> movedTo;
    // Positions whose painting changed: another row, other cells or light,
    // highlight on or off. Positions past countAfter are not listed.
    std::vector<int> repaint;
    // Some adapter shows at another position, or the number of rows changed.
    bool reordered = false;
    // A light changed, or an adapter came or went: worth the attention of a
    // user who is looking elsewhere.
    bool attention = false;

    bool Nothing() const { return !reordered && repaint.empty(); }
};

class AdapterTable {
public:
    // The rows of a refresh, in the order WMI delivered them. A row is
    // highlighted when it is new or differs from its adapter's previous
    // row, until a refresh brings no change to it. Into an empty table, or
    // when no adapter is matched at all (another computer), nothing is
    // highlighted: there was nothing the user could compare with.
    TableUpdate Replace(std::vector<AdapterRow> rows);

    // A header click: ascending, then descending, then WMI's order again.
    // Another column starts ascending. Ties keep WMI's order.
    TableUpdate SortBy(int column);

    int Count() const { return static_cast<int>(order_.size()); }
    // `position` counts display rows from 0.
    const AdapterRow& Row(int position) const;
    bool Highlighted(int position) const;
    const TableSort& Sort() const { return sort_; }
    // The first position from `start` on whose first column (the MAC
    // address) begins with `prefix`, ASCII letters without regard to case;
    // past the end it goes on from the top when `wrap`. -1: none.
    int FindByPrefix(TextView prefix, int start, bool wrap) const;

private:
    // What was shown before a change, to tell what the change did.
    struct Shown {
        const std::vector<AdapterRow>& rows;
        const std::vector<bool>& highlighted;
        const std::vector<std::size_t>& order;
    };
    std::vector<std::size_t> SortedOrder() const;
    // `newIndexOf` takes each WMI index shown before to its WMI index now,
    // or -1 when that adapter is gone.
    TableUpdate UpdateFrom(const Shown& before, const std::vector<int>& newIndexOf) const;

    std::vector<AdapterRow> rows_;    // WMI's order
    std::vector<bool> highlighted_;   // by WMI index
    std::vector<std::size_t> order_;  // display position -> WMI index
    TableSort sort_;
};

// The text a column shows: column 0 is the row's text, column n sub-item n.
// An absent value shows as the empty text.
TextView CellText(const AdapterRow& row, int column);

}  // namespace kestrova
