#include <gtest/gtest.h>

#include "fakes/FakeControls.h"
#include "fakes/FakeListView.h"
#include "fakes/FakeRpcEndpoint.h"
#include "fakes/FakeWmi.h"
#include "monitor/RefreshTick.h"

namespace kestrova {
namespace {

class RefreshTickTest : public testing::Test {
protected:
    fakes::FakeTextBox txtComputer{u"PC1"};
    fakes::FakeLabel lblTime;
    fakes::FakeWindow form;
    fakes::FakeListView table;
    fakes::FakeWmi wmi;
    fakes::FakeRpcEndpoint rpc;
    fakes::FakeClock clock;
    fakes::FakeLocale locale;
    NetMon netMon{txtComputer, rpc, wmi, table};
    ChangeLog changes;
    SeenClock seen;
    fakes::FakeDesk desk;
    RefreshTick tick{netMon, lblTime, form, clock, locale, changes, seen, desk};
};

TEST_F(RefreshTickTest, StampsTheTimeTheRefreshEnded) {
    wmi.script.adapters = {fakes::AdapterWithMac(u"A"), fakes::AdapterWithMac(u"B")};
    clock.now.time = {9, 5, 7};
    tick();
    EXPECT_EQ(lblTime.caption, u"9:05:07");
    EXPECT_EQ(table.rows.size(), 2u);
}

TEST_F(RefreshTickTest, AFailureShowsTimeAndReasonThenTheNextGoodTickClearsIt) {
    table.rows.push_back({Text(u"OLD"), u"OLD", 1, {}});
    wmi.script.bindFailure = PlatformError{0x80041015, u"Transport failure"};
    txtComputer.text = u"FAR";
    tick();
    EXPECT_EQ(lblTime.caption, u"10:32:05  FAR: Transport failure (0x80041015)");
    EXPECT_EQ(table.rows.size(), 1u) << "the rows of the last good refresh stay";

    wmi.script.bindFailure.reset();
    clock.now.time = {10, 33, 5};
    tick();
    EXPECT_EQ(lblTime.caption, u"10:33:05");
    EXPECT_TRUE(table.rows.empty());

    wmi.script.adapters = {fakes::AdapterWithMac(u"A"), fakes::AdapterWithMac(u"B")};
    wmi.script.failingFetch = 1;
    clock.now.time = {10, 34, 5};
    tick();
    EXPECT_EQ(lblTime.caption, u"10:34:05  FAR: read 1 adapter, then: Generic failure (0x80041001)")
        << "a list cut short is no success";
    EXPECT_EQ(table.rows.size(), 1u) << "the rows read so far stay";
}

// The first fill shows nothing the user could have missed; a light that
// changes, or an adapter that comes or goes, does; a cell alone does not.
TEST_F(RefreshTickTest, WhatTheUserShouldSeeAsksForAttention) {
    const auto gateway = [](Text mac, std::vector<WmiValue> gateways) {
        fakes::FakeAdapter a = fakes::AdapterWithMac(std::move(mac));
        a.lists[u"DefaultIPGateway"] = std::move(gateways);
        return a;
    };
    struct Step {
        const char* what;
        std::vector<fakes::FakeAdapter> adapters;
        int attentionRequests;  // after this tick, in all
        std::optional<std::size_t> failingFetch = {};  // the list is cut short at this fetch
        int logged = -1;  // entries the tick adds to the change log; -1: not checked
    };
    const Step steps[] = {
        {"first fill", {gateway(u"A", {Text(u"gw")}), gateway(u"B", {})}, 0},
        {"a cell changed", {gateway(u"A", {Text(u"gw2")}), gateway(u"B", {})}, 0},
        {"a light changed", {gateway(u"A", {Text(u"gw2")}), gateway(u"B", {Text(u"gw")})}, 1},
        {"nothing changed", {gateway(u"A", {Text(u"gw2")}), gateway(u"B", {Text(u"gw")})}, 1},
        {"a list cut short: B is not gone",
         {gateway(u"A", {Text(u"gw2")}), gateway(u"B", {Text(u"gw")})}, 1, 1, 1},
        {"complete again: B is not new",
         {gateway(u"A", {Text(u"gw2")}), gateway(u"B", {Text(u"gw")})}, 1, {}, 1},
        {"an adapter went", {gateway(u"A", {Text(u"gw2")})}, 2},
        {"an adapter came", {gateway(u"A", {Text(u"gw2")}), gateway(u"C", {})}, 3},
    };
    for (const Step& step : steps) {
        wmi.script.adapters = step.adapters;
        wmi.script.failingFetch = step.failingFetch;
        const std::size_t before = changes.Count();
        tick();
        EXPECT_EQ(form.attentionRequests, step.attentionRequests) << step.what;
        if (step.logged >= 0) {
            EXPECT_EQ(changes.Count() - before, static_cast<std::size_t>(step.logged))
                << step.what << ": the failure, or the refresh that worked again, and no more";
        }
    }
    wmi.script.failingFetch.reset();
    wmi.script.bindFailure = PlatformError{0x80041015, u"Transport failure"};
    tick();
    EXPECT_EQ(form.attentionRequests, 3) << "a failed refresh changed nothing shown";

    // The label, the marks and the change log read one stamp.
    wmi.script.bindFailure.reset();
    wmi.script.adapters = {gateway(u"A", {Text(u"gw3")}), gateway(u"C", {})};
    clock.now.time = {11, 0, 0};
    desk.reading.awake = std::chrono::milliseconds(4321);
    tick();
    EXPECT_EQ(table.table.Mark(0).foundAt, std::chrono::milliseconds(4321));
    ASSERT_GE(changes.Count(), 2u);
    EXPECT_EQ(changes.Entry(0).when, clock.now);
    EXPECT_EQ(changes.Entry(0).what, u"Gateway: gw2 \u2192 gw3");
    EXPECT_EQ(ChangeWhat(changes.Entry(1), WhenFormat(locale, clock.now)),
              u"Refresh worked again, after failing since 10:32:05")
        << "read upwards: it failed, it worked again, and it found this";
}

TEST_F(RefreshTickTest, ATickDuringARefreshDoesNothing) {
    wmi.script.adapters = {fakes::AdapterWithMac(u"A")};
    std::optional<RefreshResult> nested;
    txtComputer.onRead = [&] {
        txtComputer.onRead = nullptr;
        lblTime.caption = u"before";
        nested = tick();
        EXPECT_EQ(lblTime.caption, u"before") << "a busy tick writes no stamp";
    };
    tick();
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->kind, RefreshResult::Kind::Busy);
    EXPECT_EQ(lblTime.caption, u"10:32:05");
}

TEST(RefreshFailureText, NamesTheComputerAndTheError) {
    const struct {
        RefreshFailure failure;
        Text expected;
    } cases[] = {
        {{RefreshStep::Connect, u"PC1", {0x800706BA, u"The RPC server is unavailable.\r\n"}},
         u"PC1: The RPC server is unavailable. (0x800706BA)"},
        {{RefreshStep::Connect, u"", {0x80070005, u"Access is denied."}},
         u"Access is denied. (0x80070005)"},
        {{RefreshStep::Query, u"PC1", {0x80041017, u""}},
         u"PC1: The adapter query failed. (0x80041017)"},
        {{RefreshStep::FirstFetch, u"PC1", {0x1, u"  two\r\nlines  "}}, u"PC1: two lines (0x00000001)"},
        {{RefreshStep::LaterFetch, u"PC1", {0x800706BA, u"The RPC server is unavailable."}, 2},
         u"PC1: read 2 adapters, then: The RPC server is unavailable. (0x800706BA)"},
        {{RefreshStep::LaterFetch, u"", {0x80041001, u""}, 1},
         u"read 1 adapter, then: Reading the next adapter failed. (0x80041001)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Describe(c.failure), c.expected);
}

}  // namespace
}  // namespace kestrova
