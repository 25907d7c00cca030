#include "inventory/AdapterTable.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "inventory/CellSortKey.h"

namespace kestrova {

namespace {

// MAC text and description, length-prefixed so that no two different pairs
// (texts may hold anything, zeros included) make the same key.
Text IdentityOf(const AdapterRow& row) {
    const std::optional<Text>& description = row.subItems[0];
    Text key = DecimalText(row.text.size()) + u':' + row.text;
    key += description ? u'=' + *description : Text(u"-");
    return key;
}

// For each row of `after`, the row of `before` that is the same adapter, or
// -1. The n-th of several rows with one identity matches the n-th before.
std::vector<int> Match(const std::vector<const AdapterRow*>& before,
                       const std::vector<AdapterRow>& after) {
    struct Queue {
        std::vector<int> indexes;
        std::size_t next = 0;
    };
    std::unordered_map<Text, Queue> waiting;
    waiting.reserve(before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        waiting[IdentityOf(*before[i])].indexes.push_back(static_cast<int>(i));
    }
    std::vector<int> match(after.size(), -1);
    for (std::size_t i = 0; i < after.size(); ++i) {
        const auto found = waiting.find(IdentityOf(after[i]));
        if (found == waiting.end()) continue;
        Queue& queue = found->second;
        if (queue.next < queue.indexes.size()) match[i] = queue.indexes[queue.next++];
    }
    return match;
}

// A mark starts, or starts again, with the newest change on top, and waits
// for somebody's input before its time counts.
RowMark Marked(RowMark mark, const RefreshStamp& stamp, RowChange change) {
    mark.on = true;
    mark.foundAt = stamp.presence.awake;
    mark.since.reset();
    mark.counted = std::chrono::milliseconds{0};
    mark.history.insert(mark.history.begin(), MarkedChange{stamp.at, std::move(change)});
    if (mark.history.size() > kMarkHistory) mark.history.resize(kMarkHistory);
    return mark;
}

bool Expired(const RowMark& mark) {
    return mark.on && mark.since && mark.counted >= kMarkSeenFor;
}

// A mark back from aside: no seen time counted while it was off the screen,
// and input from then does not count either.
RowMark Returned(RowMark mark, const Presence& now) {
    if (mark.on && !mark.since) mark.foundAt = std::max(mark.foundAt, now.awake);
    return mark;
}

}  // namespace

const AdapterRow& AdapterTable::Row(int position) const {
    return rows_[order_[static_cast<std::size_t>(position)]];
}

const RowMark& AdapterTable::Mark(int position) const {
    return marks_[order_[static_cast<std::size_t>(position)]];
}

int AdapterTable::Find(TextView text, int start, bool partial, bool wrap) const {
    const int count = Count();
    if (count == 0) return -1;
    const auto matches = [&](TextView cell) {
        if (cell.size() < text.size() || (!partial && cell.size() != text.size())) return false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (FoldedAscii(cell[i]) != FoldedAscii(text[i])) return false;
        }
        return true;
    };
    // A start past the last row (the focus was on it) begins at the top.
    start = std::clamp(start, 0, count);
    for (int i = 0; i < count; ++i) {
        const int position = start + i;
        if (position >= count && !wrap) break;
        if (matches(Row(position % count).text)) return position % count;
    }
    return -1;
}

int AdapterTable::NextMarked(int from, bool back) const {
    const int count = Count();
    // Going back from the top is going round to the last row.
    const int start = from >= 0 && from < count ? from : back ? count : -1;
    for (int i = 1; i <= count; ++i) {
        const int position = ((start + (back ? -i : i)) % count + count) % count;
        if (Highlighted(position)) return position;
    }
    return -1;
}

void AdapterTable::Viewed(const std::optional<Presence>& now, const TableView& until,
                          const TableView& from) {
    everyRow_ = false;
    if (!now) {
        view_.reset();
        return;
    }
    Credit(*now, until);
    view_ = from;
}

void AdapterTable::Credit(const Presence& now, const std::optional<TableView>& shown) {
    StartMarks(now);
    const std::chrono::milliseconds from = lastSeen_;
    if (now.seen <= from) return;
    lastSeen_ = now.seen;
    // Only what can be proved counts: a view read now that is not the one
    // told at the last reading moved meanwhile, and then nobody knows what
    // the stretch showed.
    if (!everyRow_ && (!view_ || !shown || !(*view_ == *shown))) return;
    bool counted = false;
    const auto count = [&](RowMark& mark) {
        if (!mark.on || !mark.since) return;
        mark.counted += now.seen - std::max(from, std::min(*mark.since, now.seen));
        counted = true;
    };
    if (everyRow_) {
        for (RowMark& mark : marks_) count(mark);
    } else {
        const int end = std::min(Count(), shown->top + shown->rows);
        for (int p = std::max(0, shown->top); p < end; ++p) {
            count(marks_[order_[static_cast<std::size_t>(p)]]);
        }
    }
    if (counted) NoteNextExpiry();
}

TableUpdate AdapterTable::Replace(std::vector<AdapterRow> rows, const RefreshStamp& stamp,
                                  bool complete, std::optional<TableView> view) {
    const Presence& now = stamp.presence;
    // The stretch that ends now is judged in the order it was shown in.
    if (view) everyRow_ = false;
    Credit(now, view);
    // Nearly every refresh brings what is already shown: that must cost a
    // comparison and nothing else, marks on screen or not, until the first
    // of them may go.
    if (complete && unread_.empty() && now.seen < nextExpiry_ && rows == rows_) {
        TableUpdate nothing;
        nothing.countBefore = nothing.countAfter = Count();
        return nothing;
    }

    // What the user knew: the rows shown, then those a cut-short refresh
    // could not read.
    std::vector<const AdapterRow*> known;
    known.reserve(rows_.size() + unread_.size());
    for (const AdapterRow& row : rows_) known.push_back(&row);
    for (const Aside& aside : unread_) known.push_back(&aside.row);
    const std::vector<int> match = Match(known, rows);
    const auto matched = std::count_if(match.begin(), match.end(), [](int m) { return m >= 0; });
    // Nothing to compare with: the first refresh, or a computer that shares
    // no adapter with the one shown before.
    const bool fresh = known.empty() || (matched == 0 && !rows.empty());

    TableUpdate update;
    std::vector<RowMark> marks(rows.size());
    std::vector<int> newIndexOf(rows_.size(), -1);
    std::vector<bool> kept(known.size(), false);
    std::vector<std::size_t> lightChanged, cellsChanged;  // WMI indexes now
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int m = match[i];
        if (m < 0) {
            if (fresh) continue;
            RowChange came{RowChange::Kind::Came, rows[i], {}, {}};
            marks[i] = Marked({}, stamp, came);
            update.changes.push_back(std::move(came));
            lightChanged.push_back(i);
            cellsChanged.push_back(i);
            update.attention = true;
            continue;
        }
        const auto k = static_cast<std::size_t>(m);
        kept[k] = true;
        const bool wasShown = k < rows_.size();
        if (wasShown) newIndexOf[k] = static_cast<int>(i);
        RowMark mark = wasShown ? std::move(marks_[k])
                                : Returned(std::move(unread_[k - rows_.size()].mark), now);
        RowChange change = CompareRows(*known[k], rows[i]);
        // Only what can be seen counts: an absent value that became the
        // empty text looks the same.
        if (change.cells.empty() && !change.lightBefore) {
            if (Expired(mark)) mark = {};
            marks[i] = std::move(mark);
            continue;
        }
        if (change.lightBefore) {
            lightChanged.push_back(i);
            update.attention = true;
        }
        if (!change.cells.empty()) cellsChanged.push_back(i);
        marks[i] = Marked(std::move(mark), stamp, change);
        update.changes.push_back(std::move(change));
    }

    std::vector<Aside> unread;
    for (std::size_t k = 0; k < known.size(); ++k) {
        if (kept[k] || fresh) continue;
        if (!complete) {
            // Put aside now, or still aside since an earlier refresh.
            unread.push_back(k < rows_.size() ? Aside{rows_[k], std::move(marks_[k])}
                                              : std::move(unread_[k - rows_.size()]));
        } else {
            update.changes.push_back(RowChange{RowChange::Kind::Went, *known[k], {}, {}});
            update.attention = true;
        }
    }
    if (fresh) {
        // Nothing the user saw is compared with these rows.
        for (RowMark& mark : marks) mark = {};
        update.changes.clear();
    }

    std::vector<AdapterRow> rowsBefore = std::exchange(rows_, std::move(rows));
    std::vector<RowMark> marksBefore = std::exchange(marks_, std::move(marks));
    std::vector<std::size_t> orderBefore = std::exchange(order_, SortedOrder());
    unread_ = std::move(unread);
    NoteNextExpiry();

    TableUpdate shown = UpdateFrom({rowsBefore, marksBefore, orderBefore}, newIndexOf);
    // Rows stand elsewhere now: the list says what it shows once it has
    // moved its top row.
    if (shown.reordered && !everyRow_) view_.reset();
    shown.attention = update.attention;
    shown.changes = std::move(update.changes);
    std::vector<int> positionOf(order_.size());
    for (std::size_t p = 0; p < order_.size(); ++p) positionOf[order_[p]] = static_cast<int>(p);
    for (std::size_t i : lightChanged) shown.lightChanged.push_back(positionOf[i]);
    for (std::size_t i : cellsChanged) shown.cellsChanged.push_back(positionOf[i]);
    std::sort(shown.lightChanged.begin(), shown.lightChanged.end());
    std::sort(shown.cellsChanged.begin(), shown.cellsChanged.end());
    return shown;
}

void AdapterTable::StartMarks(const Presence& now) {
    if (now.inputAt <= waitingSince_) return;
    for (RowMark& mark : marks_) {
        // The latest input is later than the first one after the change
        // may have been: starting the count from it never counts too much.
        if (mark.on && !mark.since && now.inputAt > mark.foundAt) mark.since = now.seenAtInput;
    }
    NoteNextExpiry();
}

void AdapterTable::NoteNextExpiry() {
    nextExpiry_ = waitingSince_ = std::chrono::milliseconds::max();
    for (const RowMark& mark : marks_) {
        if (!mark.on) continue;
        if (mark.since) {
            // Never before the clock has run the rest of the time from now.
            nextExpiry_ = std::min(nextExpiry_, lastSeen_ + (kMarkSeenFor - mark.counted));
        } else {
            waitingSince_ = std::min(waitingSince_, mark.foundAt);
        }
    }
}

TableUpdate AdapterTable::SortBy(int column) {
    if (sort_.column != column || sort_.direction == SortDirection::None) {
        sort_ = {column, SortDirection::Ascending};
    } else if (sort_.direction == SortDirection::Ascending) {
        sort_.direction = SortDirection::Descending;
    } else {
        sort_ = {};
    }
    std::vector<int> sameIndex(rows_.size());
    std::iota(sameIndex.begin(), sameIndex.end(), 0);
    std::vector<std::size_t> orderBefore = std::exchange(order_, SortedOrder());
    TableUpdate update = UpdateFrom({rows_, marks_, orderBefore}, sameIndex);
    if (update.reordered && !everyRow_) view_.reset();
    return update;
}

std::vector<std::size_t> AdapterTable::SortedOrder() const {
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (sort_.direction == SortDirection::None) return order;

    const ColumnKind kind = KindOfColumn(sort_.column);
    std::vector<CellSortKey> keys;
    keys.reserve(rows_.size());
    for (const AdapterRow& row : rows_) keys.push_back(SortKeyOf(kind, CellText(row, sort_.column)));
    const bool descending = sort_.direction == SortDirection::Descending;
    // Stable, so ties keep WMI's order in either direction.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const CellSortKey& x = keys[a];
        const CellSortKey& y = keys[b];
        if (x.empty || y.empty) return !x.empty && y.empty;
        const int c = Compare(x, y);
        return descending ? c > 0 : c < 0;
    });
    return order;
}

TableUpdate AdapterTable::UpdateFrom(const Shown& before, const std::vector<int>& newIndexOf) const {
    TableUpdate update;
    update.countBefore = static_cast<int>(before.order.size());
    update.countAfter = Count();
    update.reordered = update.countBefore != update.countAfter;

    std::vector<int> positionOf(rows_.size());
    for (std::size_t p = 0; p < order_.size(); ++p) positionOf[order_[p]] = static_cast<int>(p);
    update.movedTo.resize(before.order.size());
    for (std::size_t p = 0; p < before.order.size(); ++p) {
        const int now = newIndexOf[before.order[p]];
        update.movedTo[p] = now < 0 ? -1 : positionOf[static_cast<std::size_t>(now)];
        update.reordered = update.reordered || update.movedTo[p] != static_cast<int>(p);
    }
    if (!update.reordered) update.movedTo.clear();

    // A position is painted from its row and its mark; it needs
    // painting again when either differs from what it showed.
    for (int q = 0; q < update.countAfter; ++q) {
        const std::size_t now = order_[static_cast<std::size_t>(q)];
        if (q >= update.countBefore) {
            update.repaint.push_back(q);
            continue;
        }
        const std::size_t then = before.order[static_cast<std::size_t>(q)];
        if (before.marks[then].on != marks_[now].on || before.rows[then] != rows_[now]) {
            update.repaint.push_back(q);
        }
    }
    return update;
}

}  // namespace kestrova
