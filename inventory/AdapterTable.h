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

#include <chrono>
#include <optional>
#include <vector>

#include "inventory/AdapterRow.h"
#include "inventory/ChangeText.h"
#include "inventory/RefreshStamp.h"
#include "inventory/RowChange.h"

namespace kestrova {

enum class SortDirection { None, Ascending, Descending };

struct TableSort {
    int column = -1;  // -1: the order WMI delivered
    SortDirection direction = SortDirection::None;
    friend bool operator==(const TableSort&, const TableSort&) = default;
};

// A mark lasts until the user has seen its row this long (see SeenClock,
// and TableView for what counts as seen) since the first input after the
// row's latest change, and at least until a refresh brings the row no change.
inline constexpr std::chrono::milliseconds kMarkSeenFor{10000};
// The changes a marked row keeps for its tip, newest first.
inline constexpr std::size_t kMarkHistory = 4;

struct RowMark {
    bool on = false;
    std::chrono::milliseconds foundAt{0};  // time awake when the latest change was found
    // The seen clock at the first input after that; none yet: nobody has
    // been there since.
    std::optional<std::chrono::milliseconds> since;
    // The seen time since then that the row was in view.
    std::chrono::milliseconds counted{0};
    std::vector<MarkedChange> history;  // newest first
};

// The rows the list shows, wholly or partly: positions [top, top + rows).
// Seen time counts toward a mark only while its row is in view.
struct TableView {
    int top = 0;
    int rows = 0;
    friend bool operator==(const TableView&, const TableView&) = default;
};

struct TableUpdate {
    int countBefore = 0;
    int countAfter = 0;
    // When reordered: for each position shown before, where its adapter
    // shows now, or -1 when it is gone.
    std::vector<int> movedTo;
    // Positions whose painting changed: another row, other cells or light,
    // mark on or off. Positions past countAfter are not listed.
    std::vector<int> repaint;
    // Positions now of the rows whose light, or whose other cells, this
    // refresh changed (a new adapter's row is in both): what a screen reader
    // is told.
    std::vector<int> lightChanged;
    std::vector<int> cellsChanged;
    // Some adapter shows at another position, or the number of rows changed.
    bool reordered = false;
    // A light changed, or an adapter came or went: worth the attention of a
    // user who is looking elsewhere.
    bool attention = false;
    // What came, went or changed, in WMI's order, then the adapters that went.
    std::vector<RowChange> changes;

    bool Nothing() const { return !reordered && repaint.empty(); }
};

class AdapterTable {
public:
    // The rows of a refresh, in the order WMI delivered them. A row that is
    // new or differs from its adapter's previous row is marked (see
    // kMarkSeenFor). Into an empty table, or when no adapter is matched at
    // all (another computer), nothing is marked: there was nothing the user
    // could compare with.
    //
    // A refresh that is not `complete` (the list was cut short) shows the
    // rows it read; the adapters it could not read are neither gone nor new.
    // They keep their marks aside, where no seen time counts toward them,
    // and the next complete refresh compares them with what they were.
    //
    // `shown` is what the list showed until this refresh, read just before
    // it. Without one, every row counts as in view, now and from now on;
    // with one, the rows may stand elsewhere afterwards, and no seen time
    // counts until the list says what it shows now (Viewed).
    TableUpdate Replace(std::vector<AdapterRow> rows, const RefreshStamp& stamp = {},
                        bool complete = true, std::optional<TableView> shown = std::nullopt);

    // A header click: ascending, then descending, then WMI's order again.
    // Another column starts ascending. Ties keep WMI's order. As after a
    // refresh, the list says next what it shows.
    TableUpdate SortBy(int column);

    // The list's view, read at `now`: it showed `until` since the last
    // reading, and shows `from` from now on. Seen time since that reading
    // counts for a row only when the row was in view at both readings and
    // no move went unread in between. Without a reading (`now` empty) the
    // move is only noted, and the stretch it ends counts for no row.
    void Viewed(const std::optional<Presence>& now, const TableView& until, const TableView& from);

    int Count() const { return static_cast<int>(order_.size()); }
    // `position` counts display rows from 0.
    const AdapterRow& Row(int position) const;
    bool Highlighted(int position) const { return Mark(position).on; }
    const RowMark& Mark(int position) const;
    const TableSort& Sort() const { return sort_; }
    // The first position from `start` on whose first column (the MAC
    // address) begins with `text` (`partial`) or equals it, ASCII letters
    // without regard to case; past the end it goes on from the top when
    // `wrap`. -1: none.
    int Find(TextView text, int start, bool partial, bool wrap) const;
    // The marked position after `from` in the order shown (before it when
    // `back`), round past the end; with no row to start from (-1), from the
    // top. -1: no row is marked.
    int NextMarked(int from, bool back) const;
    // Whether a reading at `now` can count time in view for any mark: one
    // counts already, or one waits for input and input came. Otherwise the
    // view need not be read.
    bool ViewCounts(const Presence& now) const {
        return nextExpiry_ != std::chrono::milliseconds::max() || now.inputAt > waitingSince_;
    }

private:
    // What was shown before a change, to tell what the change did.
    struct Shown {
        const std::vector<AdapterRow>& rows;
        const std::vector<RowMark>& marks;
        const std::vector<std::size_t>& order;
    };
    std::vector<std::size_t> SortedOrder() const;
    // `newIndexOf` takes each WMI index shown before to its WMI index now,
    // or -1 when that adapter is gone.
    TableUpdate UpdateFrom(const Shown& before, const std::vector<int>& newIndexOf) const;
    // A reading: marks whose first input after their change has come start
    // counting, and the stretch since the last reading counts for the marks
    // of the rows `shown` (every row without a view), when the list showed
    // them all along.
    void Credit(const Presence& now, const std::optional<TableView>& shown);
    void StartMarks(const Presence& now);
    void NoteNextExpiry();

    std::vector<AdapterRow> rows_;    // WMI's order
    std::vector<RowMark> marks_;      // by WMI index
    std::vector<std::size_t> order_;  // display position -> WMI index
    // Adapters a cut-short refresh did not read: not shown, not gone, their
    // marks kept. Out of view, they count no seen time.
    struct Aside {
        AdapterRow row;
        RowMark mark;
    };
    std::vector<Aside> unread_;
    // The seen clock at the last reading, and what the list has shown since:
    // every row until a view is told; then `view_`, unknown (none) while
    // the rows may have moved and the list has not said where.
    std::chrono::milliseconds lastSeen_{0};
    bool everyRow_ = true;
    std::optional<TableView> view_;
    // The earliest seen clock at which a mark may go, and the earliest
    // change still waiting for its first input; until then a refresh that
    // brings what is shown costs a comparison and nothing else.
    std::chrono::milliseconds nextExpiry_ = std::chrono::milliseconds::max();
    std::chrono::milliseconds waitingSince_ = std::chrono::milliseconds::max();
    TableSort sort_;
};

}  // namespace kestrova
