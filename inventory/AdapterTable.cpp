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
std::vector<int> Match(const std::vector<AdapterRow>& before, const std::vector<AdapterRow>& after) {
    struct Queue {
        std::vector<int> indexes;
        std::size_t next = 0;
    };
    std::unordered_map<Text, Queue> waiting;
    waiting.reserve(before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        waiting[IdentityOf(before[i])].indexes.push_back(static_cast<int>(i));
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

}  // namespace

TextView CellText(const AdapterRow& row, int column) {
    if (column == 0) return row.text;
    if (column < 1 || column > kSubItemCount) return {};
    const std::optional<Text>& cell = row.subItems[static_cast<std::size_t>(column - 1)];
    return cell ? TextView(*cell) : TextView();
}

const AdapterRow& AdapterTable::Row(int position) const {
    return rows_[order_[static_cast<std::size_t>(position)]];
}

bool AdapterTable::Highlighted(int position) const {
    return highlighted_[order_[static_cast<std::size_t>(position)]];
}

int AdapterTable::FindByPrefix(TextView prefix, int start, bool wrap) const {
    const int count = Count();
    if (count == 0) return -1;
    const auto begins = [&](TextView text) {
        if (text.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if (FoldedAscii(text[i]) != FoldedAscii(prefix[i])) return false;
        }
        return true;
    };
    start = std::clamp(start, 0, count - 1);
    for (int i = 0; i < count; ++i) {
        const int position = start + i;
        if (position >= count && !wrap) break;
        if (begins(Row(position % count).text)) return position % count;
    }
    return -1;
}

TableUpdate AdapterTable::Replace(std::vector<AdapterRow> rows) {
    const bool anyHighlighted =
        std::find(highlighted_.begin(), highlighted_.end(), true) != highlighted_.end();
    // Nearly every refresh brings what is already shown: that must cost a
    // comparison and nothing else.
    if (rows == rows_ && !anyHighlighted) {
        TableUpdate nothing;
        nothing.countBefore = nothing.countAfter = Count();
        return nothing;
    }

    const std::vector<int> match = Match(rows_, rows);
    const auto matched = std::count_if(match.begin(), match.end(), [](int m) { return m >= 0; });
    // Nothing to compare with: the first refresh, or a computer that shares
    // no adapter with the one shown before.
    const bool fresh = rows_.empty() || (matched == 0 && !rows.empty());

    std::vector<bool> highlighted(rows.size(), false);
    std::vector<int> newIndexOf(rows_.size(), -1);
    bool attention = !fresh && static_cast<std::size_t>(matched) < rows_.size();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int m = match[i];
        if (m < 0) {
            highlighted[i] = !fresh;
            attention = attention || !fresh;
            continue;
        }
        const AdapterRow& previous = rows_[static_cast<std::size_t>(m)];
        newIndexOf[static_cast<std::size_t>(m)] = static_cast<int>(i);
        highlighted[i] = rows[i] != previous;
        attention = attention || rows[i].smallIcon != previous.smallIcon;
    }

    std::vector<AdapterRow> rowsBefore = std::exchange(rows_, std::move(rows));
    std::vector<bool> highlightedBefore = std::exchange(highlighted_, std::move(highlighted));
    std::vector<std::size_t> orderBefore = std::exchange(order_, SortedOrder());
    TableUpdate update = UpdateFrom({rowsBefore, highlightedBefore, orderBefore}, newIndexOf);
    update.attention = attention;
    return update;
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
    return UpdateFrom({rows_, highlighted_, orderBefore}, sameIndex);
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

    // A position is painted from its row and its highlight; it needs
    // painting again when either differs from what it showed.
    for (int q = 0; q < update.countAfter; ++q) {
        const std::size_t now = order_[static_cast<std::size_t>(q)];
        if (q >= update.countBefore) {
            update.repaint.push_back(q);
            continue;
        }
        const std::size_t then = before.order[static_cast<std::size_t>(q)];
        if (before.highlighted[then] != highlighted_[now] || before.rows[then] != rows_[now]) {
            update.repaint.push_back(q);
        }
    }
    return update;
}

}  // namespace kestrova
