#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "fakes/FakeControls.h"
#include "inventory/AdapterTable.h"

namespace kestrova {
namespace {

// A row with a MAC text (empty: a MAC-less adapter), a description and one
// more cell; the light follows the gateway.
AdapterRow Row(Text mac, Text description, Text ip = u"10.0.0.5", bool gateway = true) {
    AdapterRow row;
    row.text = mac;
    if (!mac.empty()) row.key = mac;
    row.subItems[0] = description;
    row.subItems[1] = ip;
    if (gateway) row.subItems[2] = u"10.0.0.1";
    row.smallIcon = gateway ? AdapterStatus::Complete : AdapterStatus::NoGateway;
    return row;
}

std::vector<std::string> Shown(const AdapterTable& table) {
    std::vector<std::string> out;
    for (int p = 0; p < table.Count(); ++p) {
        const AdapterRow& row = table.Row(p);
        out.push_back(TextToAscii(row.text) + "/" + TextToAscii(*row.subItems[0]) +
                      (table.Highlighted(p) ? "*" : ""));
    }
    return out;
}

std::string Summary(const std::vector<RowChange>& changes) {
    std::string out;
    for (const RowChange& change : changes) {
        out += change.kind == RowChange::Kind::Came ? "+" : change.kind == RowChange::Kind::Went ? "-" : "~";
        out += TextToAscii(change.row.text);
        if (change.lightBefore) out += "!";
    }
    return out;
}

TEST(AdapterTable, ARefreshFindsWhatChangedAndWhereEachAdapterWent) {
    struct Case {
        const char* what;
        std::vector<AdapterRow> before, after;
        std::vector<std::string> shown;  // "*" marks a highlighted row
        std::vector<int> movedTo;        // empty: nothing moved
        std::vector<int> repaint;
        bool attention;
        std::string changes;  // +came -went ~changed, by MAC; the light as "!"
        const char16_t* tipOf1 = nullptr;  // where given, row 1's tip
    };
    const AdapterRow a = Row(u"A", u"eth0"), b = Row(u"B", u"eth1"), c = Row(u"C", u"eth2");
    const Case cases[] = {
        {"nothing changed", {a, b}, {a, b}, {"A/eth0", "B/eth1"}, {}, {}, false, ""},
        {"a cell changed", {a, b}, {a, Row(u"B", u"eth1", u"10.0.0.6")},
         {"A/eth0", "B/eth1*"}, {}, {1}, false, "~B"},
        {"a light changed", {a, b}, {a, Row(u"B", u"eth1", u"10.0.0.5", false)},
         {"A/eth0", "B/eth1*"}, {}, {1}, true, "~B!"},
        {"an adapter came", {a, b}, {a, c, b},
         {"A/eth0", "C/eth2*", "B/eth1"}, {0, 2}, {1, 2}, true, "+C"},
        {"an adapter came: its tip says when, and no more", {a}, {a, Row(u"E", u"eth4", u"")},
         {"A/eth0", "E/eth4*"}, {0}, {1}, true, "+E", u"Came at 0:00:00"},
        {"an adapter went", {a, b, c}, {a, c}, {"A/eth0", "C/eth2"}, {0, -1, 1}, {1}, true, "-B"},
        {"WMI delivered another order", {a, b}, {b, a}, {"B/eth1", "A/eth0"}, {1, 0}, {0, 1},
         false, ""},
        {"same MAC, new description: another adapter", {a}, {a, Row(u"A", u"eth9")},
         {"A/eth0", "A/eth9*"}, {0}, {1}, true, "+A"},
        {"twins are matched in order", {a, a, b}, {a, Row(u"A", u"eth0", u"10.9.9.9"), b},
         {"A/eth0", "A/eth0*", "B/eth1"}, {}, {1}, false, "~A"},
        {"MAC-less adapters are told apart by description",
         {Row(u"", u"tun0"), Row(u"", u"tun1")}, {Row(u"", u"tun1"), Row(u"", u"tun0", u"x")},
         {"/tun1", "/tun0*"}, {1, 0}, {0, 1}, false, "~"},
        {"into an empty table nothing is new to the user", {}, {a, b},
         {"A/eth0", "B/eth1"}, {}, {0, 1}, false, ""},
        {"another computer: no adapter in common", {a, b}, {c},
         {"C/eth2"}, {-1, -1}, {0}, false, ""},
        {"every adapter went", {a, b}, {}, {}, {-1, -1}, {}, true, "-A-B"},
        {"an empty cell that was absent looks the same: no mark", {a},
         {[&] {
             AdapterRow r = a;
             r.subItems[5] = u"";
             return r;
         }()},
         {"A/eth0"}, {}, {0}, false, ""},
    };
    const fakes::FakeLocale locale;
    for (const Case& c : cases) {
        AdapterTable table;
        table.Replace(c.before);
        const TableUpdate update = table.Replace(c.after);
        EXPECT_EQ(Shown(table), c.shown) << c.what;
        EXPECT_EQ(update.movedTo, c.movedTo) << c.what;
        EXPECT_EQ(update.reordered, !c.movedTo.empty() || c.before.size() != c.after.size())
            << c.what;
        EXPECT_EQ(update.repaint, c.repaint) << c.what;
        EXPECT_EQ(update.attention, c.attention) << c.what;
        EXPECT_EQ(update.countAfter, static_cast<int>(c.after.size())) << c.what;
        EXPECT_EQ(Summary(update.changes), c.changes) << c.what;
        if (!c.tipOf1) continue;
        EXPECT_EQ(DescribeMarks(table.Mark(1).history, WhenFormat(locale, LocalTime{})), c.tipOf1)
            << c.what;
    }
}

// B's address changes at some refreshes, one a second. At each, `seen` is
// the clock of the time somebody could see the window, `input` the time
// awake of the latest input and `atInput` that clock then (-1: no input).
TEST(AdapterTable, AMarkLastsUntilSeenForTenSecondsAfterInputAndARefreshBringsNoChange) {
    struct Step {
        const char* what;
        const char16_t* ip;
        int seen, input, atInput;  // ms
        bool marked;
        std::vector<int> repaint;
    };
    const Step steps[] = {
        {"first fill: nothing to compare with", u"10.0.0.5", 0, -1, 0, false, {0, 1}},
        {"B changed while the window was behind", u"10.0.0.6", 0, -1, 0, true, {1}},
        {"not yet seen: the mark stays and nothing is touched", u"10.0.0.6", 0, -1, 0, true, {}},
        {"long in front, but nobody gave input since the change", u"10.0.0.6", 60000, 500, 0,
         true, {}},
        {"input: the count starts from it", u"10.0.0.6", 60500, 3500, 60000, true, {}},
        {"9.999 s counted since", u"10.0.0.6", 69999, 3500, 60000, true, {}},
        {"changed again: the mark starts over and waits for input", u"10.0.0.7", 70000, 3500,
         60000, true, {1}},
        {"counted long, but the input was before this change", u"10.0.0.7", 90000, 3500, 60000,
         true, {}},
        {"input after it", u"10.0.0.7", 95000, 7500, 90000, true, {}},
        {"10 s since that input, and no change: it goes", u"10.0.0.7", 100000, 7500, 90000,
         false, {1}},
        {"a change long after: marked", u"10.0.0.8", 100000, 7500, 90000, true, {1}},
        {"input, then 10 s less one ms", u"10.0.0.8", 110499, 10500, 100500, true, {}},
        {"this refresh changed it again", u"10.0.0.9", 110500, 10500, 100500, true, {1}},
    };
    const fakes::FakeLocale locale;
    AdapterTable table;
    const AdapterRow a = Row(u"A", u"eth0");
    int second = 0;
    for (const Step& step : steps) {
        RefreshStamp stamp;
        // The first changes came yesterday.
        stamp.at = {2026, 3, second < 3 ? 13 : 14, {10, 0, second}};
        stamp.presence = {std::chrono::milliseconds(step.seen),
                          std::chrono::milliseconds(second * 1000),
                          step.input < 0 ? std::chrono::milliseconds::min()
                                         : std::chrono::milliseconds(step.input),
                          std::chrono::milliseconds(step.atInput)};
        ++second;
        const TableUpdate update = table.Replace({a, Row(u"B", u"eth1", step.ip)}, stamp);
        EXPECT_EQ(table.Highlighted(1), step.marked) << step.what;
        EXPECT_FALSE(table.Highlighted(0)) << step.what;
        EXPECT_EQ(update.repaint, step.repaint) << step.what;
        EXPECT_EQ(update.Nothing(), step.repaint.empty()) << step.what;
        if (second == 7) {
            EXPECT_EQ(DescribeMarks(table.Mark(1).history, WhenFormat(locale, stamp.at)),
                      u"Changed at 10:00:06\nIP: 10.0.0.6 \u2192 10.0.0.7\n\n"
                      u"Changed at 13.3.2026 10:00:01\nIP: 10.0.0.5 \u2192 10.0.0.6")
                << "the tip lists each change while marked, newest first, dated when not today";
        }
    }
    table.Replace({a, Row(u"B", u"eth1", u"10.0.0.9")},
                  {{}, {std::chrono::milliseconds(200000), std::chrono::milliseconds(99000),
                        std::chrono::milliseconds(10500), std::chrono::milliseconds(100500)}});
    EXPECT_TRUE(table.Highlighted(1)) << "input from before the latest change never counts";
    table.Replace({a, Row(u"B", u"eth1", u"10.0.0.9")},
                  {{}, {std::chrono::milliseconds(200000), std::chrono::milliseconds(99000),
                        std::chrono::milliseconds(98000), std::chrono::milliseconds(200000)}});
    table.Replace({a, Row(u"B", u"eth1", u"10.0.0.9")},
                  {{}, {std::chrono::milliseconds(210000), std::chrono::milliseconds(100000),
                        std::chrono::milliseconds(98000), std::chrono::milliseconds(200000)}});
    EXPECT_FALSE(table.Highlighted(1));
    EXPECT_TRUE(table.Mark(1).history.empty()) << "a mark that goes takes its changes along";

    using ms = std::chrono::milliseconds;
    // Seen only in view: B changes, input after, while the list shows A alone. A step is a
    // refresh reading the view `before` and telling it `after` (if `read`), or a move read at
    // once or not at all. From `bFirst` on, WMI lists B first.
    struct Look {
        const char* what;
        int seen;
        std::optional<TableView> before;  // none: a move
        TableView after;
        bool read, marked, bFirst = false;
    };
    const TableView onlyA{0, 1}, onlyB{1, 1}, both{0, 2};
    const Look looks[] = {
        {"input came, but B is out of view", 20000, onlyA, onlyA, true, true},
        {"scrolled to B, read at once", 20000, {}, onlyB, true, true},
        {"9 s in view", 29000, onlyB, onlyB, true, true},
        {"moved with no reading", 29000, {}, both, false, true},
        {"and back, with no reading", 29000, {}, onlyB, false, true},
        {"the stretch after them counts for no row", 35000, onlyB, onlyB, true, true},
        {"the view read is not the one told: it moved unseen", 40000, both, onlyA, true, true},
        {"B listed first now, and the list says nothing", 40500, onlyA, onlyA, false, true, true},
        {"so the stretch after it counts nothing", 41000, onlyA, onlyA, true, true, true},
        {"0.5 s in view where B stands now", 41500, onlyA, onlyA, true, true, true},
        {"0.5 s more: 10 s in all", 42000, onlyA, onlyA, true, false, true},
    };
    const auto at = [](int seen, int awake) {
        return RefreshStamp{{}, {ms(seen), ms(awake), ms(awake > 2000 ? 2500 : 0), ms(0)}};
    };
    AdapterTable viewed;
    const AdapterRow b6 = Row(u"B", u"eth1", u"10.0.0.6");
    const std::vector<AdapterRow> changed{a, b6};
    viewed.Replace({a, Row(u"B", u"eth1")}, at(0, 1000), true, onlyA);
    viewed.Replace(changed, at(0, 2000), true, onlyA);
    viewed.Viewed(at(0, 2000).presence, onlyA, onlyA);
    TableView told = onlyA;
    int awake = 3000;
    for (const Look& look : looks) {
        const RefreshStamp stamp = at(look.seen, awake += 1000);
        if (look.before) {
            viewed.Replace(look.bFirst ? std::vector<AdapterRow>{b6, a} : changed, stamp, true,
                           look.before);
            if (look.read) viewed.Viewed(stamp.presence, look.after, look.after);
        } else {
            viewed.Viewed(look.read ? std::optional(stamp.presence) : std::nullopt, told,
                          look.after);
        }
        told = look.after;
        EXPECT_EQ(viewed.Highlighted(look.bFirst ? 0 : 1), look.marked) << look.what;
    }
}

// A list cut short (a later fetch failed) shows the adapters it read; the
// others are not gone, and the next complete list is compared with them.
// Where C is `marked` (changed, and input came after), its mark waits aside
// while 20 s of seen time pass, comes back, and goes 10 s of seen time later;
// `waiting`: no input before the cut, and input while aside does not count.
TEST(AdapterTable, AdaptersPastACutAreNeitherGoneNorNew) {
    const AdapterRow a = Row(u"A", u"eth0"), b = Row(u"B", u"eth1"), c = Row(u"C", u"eth2");
    const AdapterRow c0 = Row(u"C", u"eth2", u"10.0.0.1"), c2 = Row(u"C", u"eth2", u"10.0.0.9");
    struct Case {
        const char* what;
        bool marked;
        std::vector<std::vector<AdapterRow>> cuts;  // one or more lists cut short, 5 s apart
        std::vector<AdapterRow> after;
        std::vector<std::string> shown;
        std::string changes;
        bool attention;
        std::vector<std::string> later;  // 10 s of seen time after the return
        bool waiting = false;
    };
    const std::vector<std::string> none{"A/eth0", "B/eth1", "C/eth2"};
    const std::vector<std::string> cMarked{"A/eth0", "B/eth1", "C/eth2*"};
    const Case cases[] = {
        {"back unchanged", false, {{a}}, {a, b, c}, none, "", false, none},
        {"back changed", false, {{a}}, {a, b, c2}, cMarked, "~C", false, cMarked},
        {"gone meanwhile", false, {{a}}, {a, c}, {"A/eth0", "C/eth2"}, "-B", true,
         {"A/eth0", "C/eth2"}},
        {"every adapter past the cut gone", false, {{a}}, {a}, {"A/eth0"}, "-B-C", true,
         {"A/eth0"}},
        {"not even the first adapter read", false, {{}}, {a, b, c}, none, "", false, none},
        {"cut twice, at different places", false, {{a, b}, {a}}, {a, b, c}, none, "", false, none},
        {"marked: the mark waits aside, and its time aside does not count", true, {{a}},
         {a, b, c}, cMarked, "", false, none},
        {"marked, after a failed first fetch", true, {{}}, {a, b, c}, cMarked, "", false, none},
        {"marked, cut twice", true, {{a, b}, {a}}, {a, b, c}, cMarked, "", false, none},
        {"marked, back changed again: the mark starts over", true, {{a}}, {a, b, c2}, cMarked,
         "~C", false, cMarked},
        {"marked, no input before the cut", true, {{a}}, {a, b, c}, cMarked, "", false, cMarked,
         true},
    };
    using std::chrono::milliseconds;
    const auto stamp = [](int seen, int awake, bool input = true) {
        return RefreshStamp{{}, {milliseconds(seen), milliseconds(awake),
                                 input ? milliseconds(1500) : milliseconds::min(),
                                 milliseconds(500)}};
    };
    for (const Case& k : cases) {
        AdapterTable table;
        table.Replace({a, b, k.marked ? c0 : c}, stamp(0, 0));
        table.Replace({a, b, c}, stamp(0, 1000));
        ASSERT_EQ(table.Highlighted(2), k.marked) << k.what;
        int seen = 1000;
        for (const std::vector<AdapterRow>& cut : k.cuts) {
            const TableUpdate update = table.Replace(cut, stamp(seen, 2000, !k.waiting), false);
            seen += 5000;
            EXPECT_TRUE(update.changes.empty()) << k.what;
            EXPECT_FALSE(update.attention) << k.what;
            EXPECT_EQ(table.Count(), static_cast<int>(cut.size())) << k.what;
        }
        const TableUpdate after = table.Replace(k.after, stamp(21000, 3000));
        EXPECT_EQ(Shown(table), k.shown) << k.what;
        EXPECT_EQ(Summary(after.changes), k.changes) << k.what;
        EXPECT_EQ(after.attention, k.attention) << k.what;
        table.Replace(k.after, stamp(31000, 4000));
        EXPECT_EQ(Shown(table), k.later) << k.what;
    }
}

// Each case lists a column's cells in the order WMI delivered them, then the
// order of the first click (ascending) and of the second (descending), by
// WMI index. Absent (null) cells are written as "-".
TEST(AdapterTable, AHeaderClickSortsItsColumnByWhatItHolds) {
    struct Case {
        const char* what;
        int column;
        std::vector<Text> cells;
        std::vector<int> ascending, descending;
    };
    const Case cases[] = {
        {"IPv4 by value, before IPv6", 2,
         {u"10.0.0.10", u"fe80::1%3", u"10.0.0.9", u"2001:db8::1", u"192.168.1.1", u"::1"},
         {2, 0, 4, 5, 3, 1}, {1, 3, 5, 4, 0, 2}},
        {"empty and absent cells last both ways, in WMI's order", 3,
         {u"", u"10.0.0.2", u"-", u"10.0.0.1"}, {3, 1, 0, 2}, {1, 3, 0, 2}},
        {"IPv6 spellings by value", 4,
         {u"fe80::a", u"fe80:0:0:0:0:0:0:9", u"::ffff:1.2.3.4", u"2001:DB8::1", u"2001:db8::"},
         {2, 4, 3, 1, 0}, {0, 1, 3, 4, 2}},
        {"a zone orders link-local twins", 6, {u"fe80::1%7", u"fe80::1%3"}, {1, 0}, {0, 1}},
        {"texts that are no address after every address", 8,
         {u"n/a", u"fe80::1", u"1.2.3.4", u"1.2.3", u"::1::2"},
         {2, 1, 3, 4, 0}, {0, 4, 3, 1, 2}},
        {"MTU by value", 11, {u"1500", u"9000", u"576", u"", u"65535"}, {2, 0, 1, 4, 3},
         {4, 1, 0, 2, 3}},
        {"text without regard to case; ties keep WMI's order", 1,
         {u"eth10", u"Eth2", u"eth1", u"NIC", u"nic"}, {2, 0, 1, 3, 4}, {3, 4, 1, 0, 2}},
    };
    for (const Case& c : cases) {
        std::vector<AdapterRow> rows;
        for (std::size_t i = 0; i < c.cells.size(); ++i) {
            AdapterRow row = Row(u"M" + DecimalText(i), u"d" + DecimalText(i));
            std::optional<Text> cell;
            if (c.cells[i] != u"-") cell = c.cells[i];
            if (c.column == 0) row.text = cell.value_or(u"");
            else row.subItems[static_cast<std::size_t>(c.column - 1)] = cell;
            rows.push_back(row);
        }
        AdapterTable table;
        table.Replace(rows);
        // Rows are told apart by their keys, M0, M1, ..., whatever the column.
        const auto order = [&] {
            std::vector<int> out;
            for (int p = 0; p < table.Count(); ++p) {
                out.push_back(std::stoi(TextToAscii(table.Row(p).key->substr(1))));
            }
            return out;
        };
        table.SortBy(c.column);
        EXPECT_EQ(order(), c.ascending) << c.what;
        EXPECT_EQ(table.Sort(), (TableSort{c.column, SortDirection::Ascending})) << c.what;
        table.SortBy(c.column);
        EXPECT_EQ(order(), c.descending) << c.what;
        table.SortBy(c.column);
        EXPECT_EQ(table.Sort(), TableSort{}) << c.what;
        std::vector<int> wmiOrder(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) wmiOrder[i] = static_cast<int>(i);
        EXPECT_EQ(order(), wmiOrder) << c.what << ": the third click restores WMI's order";
    }
}

TEST(AdapterTable, TheSortHoldsAcrossRefreshesAndSaysWhereRowsWent) {
    AdapterTable table;
    table.Replace({Row(u"A", u"a", u"10.0.0.3"), Row(u"B", u"b", u"10.0.0.1"),
                   Row(u"C", u"c", u"10.0.0.2")});
    const TableUpdate sorted = table.SortBy(2);
    EXPECT_EQ(Shown(table), (std::vector<std::string>{"B/b", "C/c", "A/a"}));
    EXPECT_EQ(sorted.movedTo, (std::vector<int>{2, 0, 1}));
    EXPECT_FALSE(sorted.attention);

    // B's address changes: it moves to the end, still sorted, and shows as
    // changed.
    const TableUpdate refreshed = table.Replace({Row(u"A", u"a", u"10.0.0.3"),
                                                 Row(u"B", u"b", u"10.0.0.9"),
                                                 Row(u"C", u"c", u"10.0.0.2")});
    EXPECT_EQ(Shown(table), (std::vector<std::string>{"C/c", "A/a", "B/b*"}));
    EXPECT_EQ(refreshed.movedTo, (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(refreshed.repaint, (std::vector<int>{0, 1, 2}));

    // Another column starts ascending.
    table.SortBy(1);
    EXPECT_EQ(table.Sort(), (TableSort{1, SortDirection::Ascending}));
    EXPECT_EQ(Shown(table), (std::vector<std::string>{"A/a", "B/b*", "C/c"}));
}

// Typing in the table finds the next row, from the focused one, whose MAC
// address begins with what was typed; a find without "partial" wants the
// whole MAC address. In the order shown.
TEST(AdapterTable, FindingARowByItsMac) {
    AdapterTable table;
    table.Replace({Row(u"aa:01", u"a"), Row(u"BB:02", u"b"), Row(u"ab:03", u"c"), Row(u"", u"d")});
    struct Case {
        const char16_t* typed;
        int start;
        bool partial, wrap;
        int found;
    };
    for (const Case& c : {Case{u"a", 0, true, false, 0}, Case{u"a", 1, true, false, 2},
                          Case{u"A", 3, true, false, -1}, Case{u"A", 3, true, true, 0},
                          Case{u"bb", 0, true, false, 1}, Case{u"ab:", 0, true, true, 2},
                          Case{u"aa:01x", 0, true, true, -1}, Case{u"", 2, true, false, 2},
                          Case{u"bb", 0, false, true, -1}, Case{u"bb:02", 2, false, true, 1},
                          Case{u"AA:01", 0, false, false, 0}, Case{u"", 0, false, true, 3},
                          Case{u"a", 4, true, true, 0}, Case{u"a", 4, true, false, -1}}) {
        EXPECT_EQ(table.Find(c.typed, c.start, c.partial, c.wrap), c.found)
            << TextToAscii(c.typed) << " from " << c.start << (c.partial ? " partial" : "");
    }
    table.SortBy(0);
    table.SortBy(0);  // descending: BB, ab, aa, then the empty one
    EXPECT_EQ(table.Find(u"a", 0, true, false), 1) << "in the order shown";

    // F8 and Shift+F8: from the focused row (-1: none) to the next marked
    // one, round the end; rows B and D of A to D are marked.
    EXPECT_EQ(table.NextMarked(-1, false), -1) << "nothing marked";
    table.SortBy(0);  // WMI's order again
    table.Replace({Row(u"A", u"a"), Row(u"B", u"b"), Row(u"C", u"c"), Row(u"D", u"d")});
    table.Replace({Row(u"A", u"a"), Row(u"B", u"b", u"x"), Row(u"C", u"c"), Row(u"D", u"d", u"x")});
    for (const auto& [from, back, found] : {std::tuple{-1, false, 1}, {1, false, 3}, {3, false, 1},
                                            {2, true, 1}, {1, true, 3}, {-1, true, 3}}) {
        EXPECT_EQ(table.NextMarked(from, back), found) << "from " << from << (back ? " back" : "");
    }
}

}  // namespace
}  // namespace kestrova
