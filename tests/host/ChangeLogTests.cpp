#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeControls.h"
#include "monitor/ChangeLog.h"

namespace kestrova {
namespace {

AdapterRow Row(Text mac, Text description, Text ip, AdapterStatus light) {
    AdapterRow row;
    row.text = mac;
    row.key = mac;
    row.subItems[0] = description;
    row.subItems[1] = ip;
    row.smallIcon = light;
    return row;
}

// A moment of March 2026.
LocalTime At(int day, int hour, int minute, int second) {
    return {2026, 3, day, {hour, minute, second}};
}

RefreshResult Refreshed(LocalTime when, const char16_t* computer,
                        std::vector<RowChange> changes = {}) {
    RefreshResult result;
    result.computer = computer;
    result.stamp.at = when;
    result.changes = std::move(changes);
    return result;
}

RefreshResult Failed(LocalTime when, const char16_t* computer, std::uint32_t code,
                     const char16_t* message) {
    RefreshResult result = Refreshed(when, computer);
    result.kind = RefreshResult::Kind::Failed;
    result.failure = RefreshFailure{RefreshStep::Connect, computer, {code, message}, 0};
    return result;
}

// As a window shows them on `today`.
// A list cut short after two adapters, with what it found.
RefreshResult CutShort(LocalTime when, std::vector<RowChange> changes = {}) {
    RefreshResult result = Refreshed(when, u"PC1", std::move(changes));
    result.kind = RefreshResult::Kind::CutShort;
    result.failure = RefreshFailure{RefreshStep::LaterFetch, u"PC1", {0x80041001, u"Generic failure"}, 2};
    return result;
}

std::vector<std::string> Entries(const ChangeLog& log, std::optional<LocalTime> today) {
    const fakes::FakeLocale locale;
    const WhenFormat when(locale, today);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < log.Count(); ++i) {
        Text line;
        for (std::size_t column = 0; column < kChangeColumns.size(); ++column) {
            if (column > 0) line += u"|";
            line += ChangeCell(log.Entry(i), static_cast<int>(column), when);
        }
        out.push_back(TextToAscii(line));
    }
    return out;
}

// Each step records one refresh; `top` is what the newest entries read
// afterwards, newest first ('?' stands for the arrow).
TEST(ChangeLog, RecordsChangesAndTheRunsOfFailuresBetweenThem) {
    const AdapterRow b = Row(u"B", u"eth1", u"10.0.0.6", AdapterStatus::Complete);
    RowChange changed = CompareRows(Row(u"B", u"eth1", u"", AdapterStatus::NoDnsServer), b);
    RowChange came{RowChange::Kind::Came, Row(u"C", u"eth2", u"10.0.0.7", AdapterStatus::NoGateway),
                   {}, {}};
    RowChange went{RowChange::Kind::Went, Row(u"D", u"eth3", u"", AdapterStatus::NoGateway), {}, {}};
    struct Step {
        const char* what;
        RefreshResult refresh;
        std::vector<std::string> top;
        std::size_t count;
    };
    const Step steps[] = {
        {"a refresh's changes read in the table's order",
         Refreshed(At(14, 10, 0, 0), u"PC1", {changed, came, went}),
         {"10:00:00|PC1|B|eth1|IP: none ? 10.0.0.6",
          "10:00:00|PC1|B|eth1|Light: yellow, no DNS server ? green",
          "10:00:00|PC1|C|eth2|Came with 10.0.0.7; light red, no default gateway",
          "10:00:00|PC1|D|eth3|Went; last addresses: no address"},
         4},
        {"nothing changed: nothing recorded", Refreshed(At(14, 10, 0, 1), u"PC1"), {}, 4},
        {"a failure", Failed(At(14, 10, 31, 0), u"PC1", 0x800706BA, u"The RPC server is unavailable."),
         {"10:31:00|PC1|||Refresh failed: The RPC server is unavailable. (0x800706BA)"}, 5},
        {"the same failure again counts in the same entry",
         Failed(At(14, 10, 35, 0), u"PC1", 0x800706BA, u"The RPC server is unavailable."),
         {"10:31:00|PC1|||Refresh failed 2 times, the last at 10:35:00: The RPC server is "
          "unavailable. (0x800706BA)"},
         5},
        {"another reason is another entry", Failed(At(14, 10, 36, 0), u"PC1", 5, u"Access is denied."),
         {"10:36:00|PC1|||Refresh failed: Access is denied. (0x00000005)"}, 6},
        {"the first refresh that works says since when it failed",
         Refreshed(At(14, 10, 40, 0), u"PC1"),
         {"10:40:00|PC1|||Refresh worked again, after failing since 10:31:00"}, 7},
        {"and the next says nothing", Refreshed(At(14, 10, 40, 1), u"PC1"), {}, 7},
        {"another computer fails", Failed(At(14, 10, 41, 0), u"FAR", 5, u"Access is denied."),
         {"10:41:00|FAR|||Refresh failed: Access is denied. (0x00000005)"}, 8},
        {"this one working does not say FAR works", Refreshed(At(14, 10, 42, 0), u"PC1"), {}, 8},
        {"a list cut short", CutShort(At(14, 10, 43, 0)),
         {"10:43:00|PC1|||Refresh failed: read 2 adapters, then: Generic failure (0x80041001)"}, 9},
        {"cut short again, for the same reason, with a change: the change keeps its entry",
         CutShort(At(14, 10, 44, 0), {changed}),
         {"10:44:00|PC1|||Refresh failed: read 2 adapters, then: Generic failure (0x80041001)",
          "10:44:00|PC1|B|eth1|IP: none ? 10.0.0.6"},
         12},
        {"the next day: earlier times show their date",
         CutShort(At(15, 0, 5, 0)),
         {"14.3.2026 10:44:00|PC1|||Refresh failed 2 times, the last at 0:05:00: read 2 "
          "adapters, then: Generic failure (0x80041001)",
          "14.3.2026 10:44:00|PC1|B|eth1|IP: none ? 10.0.0.6"},
         12},
        {"worked again", Refreshed(At(15, 0, 6, 0), u"PC1"),
         {"0:06:00|PC1|||Refresh worked again, after failing since 14.3.2026 10:43:00"}, 13},
        {"a year on, to the day, another computer fails: last year's moments show their date",
         Failed({2027, 3, 15, {0, 7, 0}}, u"FAR", 5, u"Access is denied."),
         {"0:07:00|FAR|||Refresh failed: Access is denied. (0x00000005)",
          "15.3.2026 0:06:00|PC1|||Refresh worked again, after failing since 14.3.2026 10:43:00"},
         14},
        {"right after it, a third fails with the same text: an entry of its own",
         Failed({2027, 3, 15, {0, 8, 0}}, u"THIRD", 5, u"Access is denied."),
         {"0:08:00|THIRD|||Refresh failed: Access is denied. (0x00000005)"}, 15},
    };
    ChangeLog log;
    int told = 0;
    log.OnChange([&] { ++told; });
    int expectedTold = 0;
    std::size_t countBefore = 0;
    for (const Step& step : steps) {
        const std::uint64_t addedBefore = log.Added();
        const LocalTime today = step.refresh.stamp.at;
        const std::vector<std::string> before = Entries(log, today);
        log.Record(step.refresh);
        const std::vector<std::string> entries = Entries(log, today);
        ASSERT_EQ(log.Count(), step.count) << step.what;
        for (std::size_t i = 0; i < step.top.size(); ++i) {
            EXPECT_EQ(entries[i], step.top[i]) << step.what;
        }
        if (before != entries) ++expectedTold;
        EXPECT_EQ(told, expectedTold) << step.what << ": a window hears of each change, once";
        EXPECT_EQ(log.Added() - addedBefore, step.count - countBefore) << step.what;
        countBefore = step.count;
    }
    EXPECT_EQ(Entries(log, std::nullopt)[0],  // no today: today's moments show their date too
              "15.3.2027 0:08:00|THIRD|||Refresh failed: Access is denied. (0x00000005)");
}

TEST(ChangeLog, KeepsTheNewestThousandAndCountsTheRest) {
    ChangeLog log;
    for (int i = 0; i < 1003; ++i) {
        RowChange came{RowChange::Kind::Came, Row(u"M" + DecimalText(static_cast<std::uint64_t>(i)),
                                                   u"d", u"10.0.0.1", AdapterStatus::Complete),
                       {}, {}};
        log.Record(Refreshed(At(14, 10, 0, 0), u"PC1", {came}));
    }
    EXPECT_EQ(log.Count(), ChangeLog::kCapacity);
    EXPECT_EQ(log.Dropped(), 3u);
    EXPECT_EQ(log.Added(), 1003u);
    EXPECT_EQ(log.Entry(0).mac, u"M1002");
    EXPECT_EQ(log.Entry(999).mac, u"M3") << "the oldest went first";
    EXPECT_EQ(log.Note(), u"Every change since Kestrova started, newest first. 3 older entries "
                          u"were dropped: the list keeps the newest 1000.");
    EXPECT_EQ(ChangeLog().Note(), u"Every change since Kestrova started, newest first.");
}

}  // namespace
}  // namespace kestrova
