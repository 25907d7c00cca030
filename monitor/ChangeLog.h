// Every change since the program started, newest first: adapters that came
// or went, cells and lights that changed, and the refreshes that failed and
// the first one that worked after them. Kept in memory only, and only the
// newest kCapacity entries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "inventory/NetMon.h"
#include "inventory/WhenFormat.h"
#include "platform/Text.h"

namespace kestrova {

// Times are kept as values and put into words as shown (`ChangeWhat`), so
// that an entry of an earlier day shows its date.
struct ChangeEntry {
    enum class Kind {
        Change,       // `what` says what changed
        Failed,       // `what` is the reason; `times` in a row, the last at `last`
        WorkedAgain,  // after failing since `since`
    };
    Kind kind = Kind::Change;
    LocalTime when;
    Text computer;
    Text mac;          // empty for a refresh's own entry
    Text description;  // likewise
    Text what;
    int times = 1;
    LocalTime last;
    LocalTime since;
    friend bool operator==(const ChangeEntry&, const ChangeEntry&) = default;
};

// What the entry says happened: "Refresh failed 3 times, the last at ...".
Text ChangeWhat(const ChangeEntry& entry, const WhenFormat& when);

// The columns a list of the entries shows, with their widths in pixels at
// 96 DPI. The time column is widened to what its longest text needs.
struct ChangeColumn {
    TextView header;
    int width96;
};
inline constexpr std::array<ChangeColumn, 5> kChangeColumns{{
    {u"Time", 70},
    {u"Computer", 100},
    {u"Mac", 120},
    {u"Description", 170},
    {u"Change", 420},
}};
Text ChangeCell(const ChangeEntry& entry, int column, const WhenFormat& when);

class ChangeLog {
public:
    static constexpr std::size_t kCapacity = 1000;

    // What one refresh found. A run of failures for one reason is one entry
    // that counts them, so that a computer that stays away for an hour does
    // not push every change out of the list.
    void Record(const RefreshResult& result);

    std::size_t Count() const { return entries_.size(); }
    const ChangeEntry& Entry(std::size_t newestFirst) const { return entries_[newestFirst]; }
    // Entries that no longer fit and were dropped, oldest first.
    std::uint64_t Dropped() const { return dropped_; }
    // Entries ever added: a view learns from it how far its rows moved down.
    std::uint64_t Added() const { return added_; }

    // What a list of the entries says above them: what it holds, and that
    // older entries were dropped, once some were.
    Text Note() const;

    // Called after every change to the entries, so a window can follow them.
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }

private:
    void Add(ChangeEntry entry);

    std::deque<ChangeEntry> entries_;  // newest first
    std::uint64_t dropped_ = 0;
    std::uint64_t added_ = 0;
    std::function<void()> changed_;

    // The run of failures going on, if any.
    struct Failing {
        Text computer;
        LocalTime since;
        Text reason;
        int times = 0;
        std::uint64_t entry = 0;  // Added() after its entry went in
    };
    std::optional<Failing> failing_;
};

}  // namespace kestrova
