#include "monitor/ChangeLog.h"

#include <utility>

#include "inventory/ChangeText.h"

namespace kestrova {

namespace {

// The reason without the computer's name, which has a column of its own.
Text ReasonOf(RefreshFailure failure) {
    failure.computerName.clear();
    return Describe(failure);
}

}  // namespace

TextView ChangeCell(const ChangeEntry& entry, int column) {
    switch (column) {
        case 0: return entry.when;
        case 1: return entry.computer;
        case 2: return entry.mac;
        case 3: return entry.description;
        case 4: return entry.what;
        default: return {};
    }
}

Text ChangeLog::Note() const {
    Text note = u"Every change since Kestrova started, newest first.";
    if (dropped_ > 0) {
        note += u" " + DecimalText(dropped_) +
                (dropped_ == 1 ? u" older entry was" : u" older entries were") +
                u" dropped: the list keeps the newest " + DecimalText(kCapacity) + u".";
    }
    return note;
}

void ChangeLog::Add(ChangeEntry entry) {
    entries_.push_front(std::move(entry));
    ++added_;
    if (entries_.size() > kCapacity) {
        entries_.pop_back();
        ++dropped_;
    }
}

void ChangeLog::Record(const RefreshResult& result) {
    if (result.kind == RefreshResult::Kind::Busy) return;
    const std::uint64_t addedBefore = added_;
    const Text& when = result.stamp.when;

    // A refresh that works ends a run of failures before it shows what it
    // found, so that, read upwards, the list tells the story in order.
    if (!result.failure && failing_) {
        // Only the computer that was failing can be said to work again.
        if (failing_->computer == result.computer) {
            Add({when, result.computer, {}, {},
                 u"Refresh worked again, after failing since " + failing_->since});
        }
        failing_.reset();
    }

    // Newest first, yet the changes of one refresh read top-down in the
    // table's own order: the last one goes in first.
    for (auto change = result.changes.rbegin(); change != result.changes.rend(); ++change) {
        const std::vector<Text> lines = DescribeChange(*change);
        const Text description(CellText(change->row, 1));
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            Add({when, result.computer, change->row.text, description, *line});
        }
    }

    bool entryChanged = false;
    if (result.failure) {
        Text reason = ReasonOf(*result.failure);
        const bool sameRun = failing_ && failing_->computer == result.computer &&
                             failing_->reason == reason && failing_->entry == added_ &&
                             !entries_.empty();
        if (sameRun) {
            ++failing_->times;
            entries_.front().what = u"Refresh failed " +
                                    DecimalText(static_cast<std::uint64_t>(failing_->times)) +
                                    u" times, the last at " + when + u": " + reason;
            entryChanged = true;
        } else {
            const Text since = failing_ && failing_->computer == result.computer
                                   ? failing_->since
                                   : when;
            Add({when, result.computer, {}, {}, u"Refresh failed: " + reason});
            failing_ = Failing{result.computer, since, std::move(reason), 1, added_};
        }
    }

    if ((added_ != addedBefore || entryChanged) && changed_) changed_();
}

}  // namespace kestrova
