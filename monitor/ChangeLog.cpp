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

ChangeEntry EntryOf(ChangeEntry::Kind kind, const LocalTime& when, const Text& computer) {
    ChangeEntry entry;
    entry.kind = kind;
    entry.when = when;
    entry.last = when;
    entry.computer = computer;
    return entry;
}

}  // namespace

Text ChangeWhat(const ChangeEntry& entry, const WhenFormat& when) {
    switch (entry.kind) {
        case ChangeEntry::Kind::Change:
            return entry.what;
        case ChangeEntry::Kind::Failed:
            if (entry.times == 1) return u"Refresh failed: " + entry.what;
            return u"Refresh failed " + DecimalText(static_cast<std::uint64_t>(entry.times)) +
                   u" times, the last at " + when(entry.last) + u": " + entry.what;
        case ChangeEntry::Kind::WorkedAgain:
            return u"Refresh worked again, after failing since " + when(entry.since);
    }
    return entry.what;
}

Text ChangeCell(const ChangeEntry& entry, int column, const WhenFormat& when) {
    switch (column) {
        case 0: return when(entry.when);
        case 1: return entry.computer;
        case 2: return entry.mac;
        case 3: return entry.description;
        case 4: return ChangeWhat(entry, when);
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
    const LocalTime& when = result.stamp.at;

    // A refresh that works ends a run of failures before it shows what it
    // found, so that, read upwards, the list tells the story in order.
    if (!result.failure && failing_) {
        // Only the computer that was failing can be said to work again.
        if (failing_->computer == result.computer) {
            ChangeEntry worked = EntryOf(ChangeEntry::Kind::WorkedAgain, when, result.computer);
            worked.since = failing_->since;
            Add(std::move(worked));
        }
        failing_.reset();
    }

    // Newest first, yet the changes of one refresh read top-down in the
    // table's own order: the last one goes in first.
    for (auto change = result.changes.rbegin(); change != result.changes.rend(); ++change) {
        const std::vector<Text> lines = DescribeChange(*change);
        const Text description(CellText(change->row, 1));
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            ChangeEntry changed = EntryOf(ChangeEntry::Kind::Change, when, result.computer);
            changed.mac = change->row.text;
            changed.description = description;
            changed.what = *line;
            Add(std::move(changed));
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
            entries_.front().times = failing_->times;
            entries_.front().last = when;
            entryChanged = true;
        } else {
            const LocalTime since = failing_ && failing_->computer == result.computer
                                        ? failing_->since
                                        : when;
            ChangeEntry failed = EntryOf(ChangeEntry::Kind::Failed, when, result.computer);
            failed.what = reason;
            Add(std::move(failed));
            failing_ = Failing{result.computer, since, std::move(reason), 1, added_};
        }
    }

    if ((added_ != addedBefore || entryChanged) && changed_) changed_();
}

}  // namespace kestrova
