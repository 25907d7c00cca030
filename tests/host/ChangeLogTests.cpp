#include <gtest/gtest.h>

#include <string>
#include <vector>

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

RefreshResult Refreshed(const char16_t* when, const char16_t* computer,
                        std::vector<RowChange> changes = {}) {
    RefreshResult result;
    result.computer = computer;
    result.stamp.when = when;
    result.changes = std::move(changes);
    return result;
}

RefreshResult Failed(const char16_t* when, const char16_t* computer, std::uint32_t code,
                     const char16_t* message) {
    RefreshResult result = Refreshed(when, computer);
    result.kind = RefreshResult::Kind::Failed;
    result.failure = RefreshFailure{RefreshStep::Connect, computer, {code, message}, 0};
    return result;
}

std::vector<std::string> Entries(const ChangeLog& log) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < log.Count(); ++i) {
        const ChangeEntry& e = log.Entry(i);
        out.push_back(TextToAscii(e.when + u"|" + e.computer + u"|" + e.mac + u"|" +
                                  e.description + u"|" + e.what));
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
         Refreshed(u"10:00:00", u"PC1", {changed, came, went}),
         {"10:00:00|PC1|B|eth1|IP: none ? 10.0.0.6",
          "10:00:00|PC1|B|eth1|Light: yellow, no DNS server ? green",
          "10:00:00|PC1|C|eth2|Came with 10.0.0.7; light red, no default gateway",
          "10:00:00|PC1|D|eth3|Went; last addresses: no address"},
         4},
        {"nothing changed: nothing recorded", Refreshed(u"10:00:01", u"PC1"), {}, 4},
        {"a failure", Failed(u"10:31:00", u"PC1", 0x800706BA, u"The RPC server is unavailable."),
         {"10:31:00|PC1|||Refresh failed: The RPC server is unavailable. (0x800706BA)"}, 5},
        {"the same failure again counts in the same entry",
         Failed(u"10:35:00", u"PC1", 0x800706BA, u"The RPC server is unavailable."),
         {"10:31:00|PC1|||Refresh failed 2 times, the last at 10:35:00: The RPC server is "
          "unavailable. (0x800706BA)"},
         5},
        {"another reason is another entry", Failed(u"10:36:00", u"PC1", 5, u"Access is denied."),
         {"10:36:00|PC1|||Refresh failed: Access is denied. (0x00000005)"}, 6},
        {"the first refresh that works says since when it failed",
         Refreshed(u"10:40:00", u"PC1"),
         {"10:40:00|PC1|||Refresh worked again, after failing since 10:31:00"}, 7},
        {"and the next says nothing", Refreshed(u"10:40:01", u"PC1"), {}, 7},
        {"another computer fails", Failed(u"10:41:00", u"FAR", 5, u"Access is denied."),
         {"10:41:00|FAR|||Refresh failed: Access is denied. (0x00000005)"}, 8},
        {"this one working does not say FAR works", Refreshed(u"10:42:00", u"PC1"), {}, 8},
    };
    ChangeLog log;
    int told = 0;
    log.OnChange([&] { ++told; });
    int expectedTold = 0;
    std::size_t countBefore = 0;
    for (const Step& step : steps) {
        const std::uint64_t addedBefore = log.Added();
        const std::vector<std::string> before = Entries(log);
        log.Record(step.refresh);
        const std::vector<std::string> entries = Entries(log);
        ASSERT_EQ(log.Count(), step.count) << step.what;
        for (std::size_t i = 0; i < step.top.size(); ++i) {
            EXPECT_EQ(entries[i], step.top[i]) << step.what;
        }
        if (before != Entries(log)) ++expectedTold;
        EXPECT_EQ(told, expectedTold) << step.what << ": a window hears of each change, once";
        EXPECT_EQ(log.Added() - addedBefore, step.count - countBefore) << step.what;
        countBefore = step.count;
    }
}

TEST(ChangeLog, KeepsTheNewestThousandAndCountsTheRest) {
    ChangeLog log;
    for (int i = 0; i < 1003; ++i) {
        RowChange came{RowChange::Kind::Came, Row(u"M" + DecimalText(static_cast<std::uint64_t>(i)),
                                                   u"d", u"10.0.0.1", AdapterStatus::Complete),
                       {}, {}};
        log.Record(Refreshed(u"t", u"PC1", {came}));
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
