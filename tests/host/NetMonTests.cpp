#include <gtest/gtest.h>

#include "fakes/FakeControls.h"
#include "fakes/FakeListView.h"
#include "fakes/FakeRpcEndpoint.h"
#include "fakes/FakeWmi.h"
#include "inventory/AdapterQuery.h"
#include "inventory/NetMon.h"

namespace kestrova {
namespace {

using fakes::FakeAdapter;

FakeAdapter Adapter(Text mac, std::vector<WmiValue> gateways = {Text(u"10.0.0.1")},
                    std::vector<WmiValue> dns = {Text(u"10.0.0.53")}) {
    FakeAdapter a;
    a.properties[u"MACAddress"] = std::move(mac);
    a.properties[u"Description"] = Text(u"NIC");
    a.properties[u"DHCPEnabled"] = true;
    a.properties[u"DNSDomain"] = Text(u"corp.example");
    a.properties[u"MTU"] = std::int64_t{1500};
    a.properties[u"ServiceName"] = Text(u"e1000");
    a.lists[u"IPAddress"] = {Text(u"10.0.0.5")};
    a.lists[u"DefaultIPGateway"] = std::move(gateways);
    a.lists[u"DNSServerSearchOrder"] = std::move(dns);
    return a;
}

class NetMonTest : public testing::Test {
protected:
    fakes::FakeTextBox computer{u"PC1"};
    fakes::FakeRpcEndpoint rpc;
    fakes::FakeWmi wmi;
    fakes::FakeListView table;
    NetMon netMon{computer, rpc, wmi, table};

    std::vector<Text> Keys() const {
        std::vector<Text> keys;
        for (const auto& row : table.rows) keys.push_back(row.key.value_or(u"<none>"));
        return keys;
    }
    void PreFill() {
        table.rows.push_back({Text(u"OLD"), u"OLD", 1, {}});
    }
};

TEST_F(NetMonTest, BindsTheComputersNamespaceAndRunsTheAdapterQuery) {
    wmi.script.adapters = {Adapter(u"00:00:00:00:00:01")};
    const RefreshResult result = netMon();
    EXPECT_EQ(result.kind, RefreshResult::Kind::Refreshed);
    EXPECT_EQ(wmi.log.boundNames, std::vector<Text>{u"winmgmts:\\\\PC1\\root\\CIMV2"});
    EXPECT_EQ(wmi.log.queries, std::vector<Text>{Text(kAdapterQuery)});
    EXPECT_EQ(wmi.log.queries[0],
              u"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled = True");
}

TEST_F(NetMonTest, AddsOneRowPerAdapterInDeliveryOrder) {
    wmi.script.adapters = {Adapter(u"00:00:00:00:00:03"),
                           Adapter(u"00:00:00:00:00:01", {Text(u"10.0.0.1")}, {}),
                           Adapter(u"00:00:00:00:00:02", {}, {Text(u"1.1.1.1")})};
    const RefreshResult result = netMon();
    EXPECT_EQ(result.rows, 3);
    EXPECT_EQ(Keys(), (std::vector<Text>{u"00:00:00:00:00:03", u"00:00:00:00:00:01",
                                         u"00:00:00:00:00:02"}));
    EXPECT_EQ(table.rows[0].smallIcon, 1);
    EXPECT_EQ(table.rows[1].smallIcon, 2);
    EXPECT_EQ(table.rows[2].smallIcon, 3);
    EXPECT_EQ(table.rows[0].text, u"00:00:00:00:00:03");
    EXPECT_EQ(table.rows[0].subItems[1], Text(u"10.0.0.5"));
    EXPECT_EQ(table.rows[0].subItems[4], Text(u"True"));
    EXPECT_EQ(table.rows[0].subItems[10], Text(u"1500"));
    EXPECT_FALSE(table.rows[0].subItems[5]) << "IP 2 of a one-address adapter stays empty";
    EXPECT_FALSE(table.rows[1].subItems[3]) << "DNS of an adapter without DNS servers";
}

TEST_F(NetMonTest, NoAdaptersLeavesAnEmptyTable) {
    PreFill();
    const RefreshResult result = netMon();
    EXPECT_EQ(result.kind, RefreshResult::Kind::Refreshed);
    EXPECT_TRUE(table.rows.empty());
}

TEST_F(NetMonTest, FailuresBeforeTheFirstAdapterAreHandedToTheCaller) {
    struct Case {
        const char* what;
        void (*arrange)(fakes::FakeWmiScript&, fakes::FakeRpcEndpoint&);
        RefreshStep step;
        std::uint32_t code;
        bool bound;      // WMI was asked at all
        bool tableKept;  // unchanged, or already cleared
        std::vector<std::string> releases;
    };
    const Case cases[] = {
        {"no answer", [](fakes::FakeWmiScript&, fakes::FakeRpcEndpoint& r) { r.failure = PlatformError{0x800706BA, u"The RPC server is unavailable."}; },
         RefreshStep::Connect, 0x800706BA, false, true, {}},
        {"no such host", [](fakes::FakeWmiScript&, fakes::FakeRpcEndpoint& r) { r.failure = PlatformError{0x80072AF9, u"No such host is known."}; },
         RefreshStep::Connect, 0x80072AF9, false, true, {}},
        {"bind", [](fakes::FakeWmiScript& s, fakes::FakeRpcEndpoint&) { s.bindFailure = PlatformError{0x80070005, u"Access is denied."}; },
         RefreshStep::Connect, 0x80070005, true, true, {}},
        {"query", [](fakes::FakeWmiScript& s, fakes::FakeRpcEndpoint&) { s.queryFailure = PlatformError{0x80041017, u"Invalid query"}; },
         RefreshStep::Query, 0x80041017, true, true, {"services"}},
        {"first fetch", [](fakes::FakeWmiScript& s, fakes::FakeRpcEndpoint&) { s.failingFetch = 0; },
         RefreshStep::FirstFetch, 0x80041001, true, false, {"set", "services"}},
    };
    for (const Case& c : cases) {
        fakes::FakeRpcEndpoint endpoint;
        fakes::FakeWmi failingWmi;
        fakes::FakeListView list;
        list.rows.push_back({Text(u"OLD"), u"OLD", 1, {}});
        c.arrange(failingWmi.script, endpoint);
        failingWmi.script.adapters = {Adapter(u"00:00:00:00:00:01")};
        NetMon refresh(computer, endpoint, failingWmi, list);

        const RefreshResult result = refresh();
        ASSERT_EQ(result.kind, RefreshResult::Kind::Failed) << c.what;
        ASSERT_TRUE(result.failure) << c.what;
        EXPECT_EQ(result.failure->step, c.step) << c.what;
        EXPECT_EQ(result.failure->computerName, u"PC1") << c.what;
        EXPECT_EQ(result.failure->error.code, c.code) << c.what;
        EXPECT_EQ(failingWmi.log.boundNames.size(), c.bound ? 1u : 0u) << c.what;
        EXPECT_EQ(list.rows.size(), c.tableKept ? 1u : 0u) << c.what;
        EXPECT_EQ(failingWmi.log.releases, c.releases) << c.what;
        EXPECT_FALSE(refresh.Running()) << c.what;
    }
}

TEST_F(NetMonTest, LaterFetchFailureKeepsTheRowsSoFarAndSaysTheListIsCutShort) {
    wmi.script.adapters = {Adapter(u"A"), Adapter(u"B"), Adapter(u"C"), Adapter(u"D")};
    wmi.script.failingFetch = 2;  // the third adapter
    const RefreshResult result = netMon();
    EXPECT_EQ(result.kind, RefreshResult::Kind::CutShort);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->step, RefreshStep::LaterFetch);
    EXPECT_EQ(result.failure->computerName, u"PC1");
    EXPECT_EQ(result.failure->error.code, 0x80041001u);
    EXPECT_EQ(result.failure->adaptersRead, 2);
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(Keys(), (std::vector<Text>{u"A", u"B"}));
    EXPECT_EQ(table.rows[1].subItems[11], Text(u"e1000")) << "rows before it stay complete";
    EXPECT_EQ(wmi.log.releases, (std::vector<std::string>{"set", "services"}));
}

TEST_F(NetMonTest, OnlyAnotherComputerIsCheckedForAnAnswerAndBeforeWmi) {
    const struct {
        Text name;
        bool checked;
    } cases[] = {
        {u"PC1", true},
        {u"192.0.2.7", true},
        {u"", false},
        {u"PC0", false},                // this computer's NetBIOS name
        {u"PC0.Corp.Example", false},   // and its full DNS name
        {u"127.0.0.1", false},
    };
    for (const auto& c : cases) {
        fakes::FakeRpcEndpoint endpoint;
        fakes::FakeWmi w;
        fakes::FakeListView list;
        fakes::FakeTextBox name{c.name};
        size_t bindsAtCheck = 99;
        endpoint.onReach = [&] { bindsAtCheck = w.log.boundNames.size(); };
        NetMon refresh(name, endpoint, w, list);
        ASSERT_EQ(refresh().kind, RefreshResult::Kind::Refreshed) << TextToAscii(c.name);

        EXPECT_EQ(endpoint.reached, c.checked ? std::vector<Text>{c.name} : std::vector<Text>{})
            << TextToAscii(c.name);
        if (c.checked) {
            EXPECT_EQ(bindsAtCheck, 0u) << TextToAscii(c.name) << ": checked before the bind";
            EXPECT_EQ(endpoint.bounds, std::vector<std::chrono::milliseconds>{kReachBound});
        }
        EXPECT_EQ(w.log.boundNames.size(), 1u) << TextToAscii(c.name);
    }
}

TEST_F(NetMonTest, EachFailingReadSkipsOnlyItsOwnStep) {
    struct Case {
        Text failing;           // property, or property[index]
        int expectedIcon;       // -1: no row at all
        int emptySubItem;       // 0: none
    };
    const Case cases[] = {
        {u"MACAddress", -1, 0},
        {u"Description", 1, 1},
        {u"IPAddress[0]", 1, 2},
        {u"DefaultIPGateway", 3, 3},
        {u"DNSServerSearchOrder[0]", 2, 4},
        {u"DHCPEnabled", 1, 5},
        {u"IPAddress[1]", 1, 6},
        {u"DNSServerSearchOrder[1]", 1, 8},
        {u"DNSDomain", 1, 10},
        {u"MTU", 1, 11},
        {u"ServiceName", 1, 12},
    };
    for (const Case& c : cases) {
        fakes::FakeWmi w;
        fakes::FakeListView list;
        FakeAdapter broken = Adapter(u"BROKEN", {Text(u"gw")}, {Text(u"d1"), Text(u"d2")});
        broken.lists[u"IPAddress"] = {Text(u"ip1"), Text(u"ip2")};
        broken.failingReads[c.failing] = WmiReadFailed{0x80041002};
        w.script.adapters = {broken, Adapter(u"AFTER")};
        NetMon refresh(computer, rpc, w, list);
        ASSERT_EQ(refresh().kind, RefreshResult::Kind::Refreshed);

        const std::string what = TextToAscii(c.failing);
        if (c.expectedIcon < 0) {
            ASSERT_EQ(list.rows.size(), 1u) << what;
            EXPECT_EQ(list.rows[0].key, Text(u"AFTER")) << what << ": no other row is touched";
            EXPECT_EQ(list.rows[0].subItems[0], Text(u"NIC")) << what;
            continue;
        }
        ASSERT_EQ(list.rows.size(), 2u) << what;
        const auto& row = list.rows[0];
        EXPECT_EQ(row.smallIcon, c.expectedIcon) << what;
        for (int n = 1; n <= 12; ++n) {
            if (n == c.emptySubItem) {
                EXPECT_FALSE(row.subItems[static_cast<size_t>(n - 1)]) << what << " sub-item " << n;
            }
        }
        EXPECT_TRUE(row.subItems[11] || c.emptySubItem == 12) << what << ": later cells still set";
    }
}

TEST_F(NetMonTest, DuplicateMacAddressStillGetsARowWithoutAKey) {
    wmi.script.adapters = {Adapter(u"SAME"), Adapter(u"SAME", {}), Adapter(u"OTHER")};
    ASSERT_EQ(netMon().rows, 3);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].key, Text(u"SAME"));
    EXPECT_EQ(table.rows[0].smallIcon, 1) << "the first row is not changed by the second";
    EXPECT_FALSE(table.rows[1].key);
    EXPECT_EQ(table.rows[1].text, u"SAME");
    EXPECT_EQ(table.rows[1].smallIcon, 3);
    EXPECT_EQ(table.rows[1].subItems[0], Text(u"NIC"));
    EXPECT_EQ(table.rows[2].key, Text(u"OTHER"));
}

TEST_F(NetMonTest, NullMacAddressGetsARowWithNoKeyAndEmptyText) {
    FakeAdapter nullMac = Adapter(u"x");
    nullMac.properties[u"MACAddress"] = WmiNull{};
    wmi.script.adapters = {nullMac, nullMac, Adapter(u"B")};
    ASSERT_EQ(netMon().rows, 3);
    EXPECT_FALSE(table.rows[0].key);
    EXPECT_EQ(table.rows[0].text, u"");
    EXPECT_EQ(table.rows[0].subItems[0], Text(u"NIC"));
    EXPECT_FALSE(table.rows[1].key);
}

TEST_F(NetMonTest, TwoRefreshesInARowHoldTheRowsOnce) {
    wmi.script.adapters = {Adapter(u"A"), Adapter(u"B")};
    netMon();
    netMon();
    EXPECT_EQ(Keys(), (std::vector<Text>{u"A", u"B"}));
    EXPECT_EQ(wmi.log.boundNames.size(), 2u) << "every refresh connects anew";
    EXPECT_EQ(wmi.log.releases,
              (std::vector<std::string>{"set", "services", "set", "services"}));
}

TEST_F(NetMonTest, ReadsTheComputerNameAtEachRefresh) {
    wmi.script.adapters = {Adapter(u"A")};
    netMon();
    computer.text = u"";
    netMon();
    EXPECT_EQ(wmi.log.boundNames,
              (std::vector<Text>{u"winmgmts:\\\\PC1\\root\\CIMV2", u"winmgmts:\\\\\\root\\CIMV2"}));
}

TEST_F(NetMonTest, KeepsTheOldRowsUntilEveryAdapterIsRead) {
    PreFill();
    wmi.script.adapters = {Adapter(u"A"), Adapter(u"B")};
    std::vector<size_t> rowsSeenAtFetch;
    wmi.script.onFetch = [&] { rowsSeenAtFetch.push_back(table.rows.size()); };
    netMon();
    EXPECT_EQ(rowsSeenAtFetch, (std::vector<size_t>{1, 1, 1})) << "the old row, at every fetch";
    EXPECT_EQ(Keys(), (std::vector<Text>{u"A", u"B"}));
    EXPECT_EQ(table.shows, 1) << "the new rows arrive at once";
}

TEST_F(NetMonTest, ANestedCallWhileRunningDoesNothing) {
    wmi.script.adapters = {Adapter(u"A")};
    std::optional<RefreshResult> nested;
    computer.onRead = [&] {
        computer.onRead = nullptr;
        nested = netMon();
    };
    const RefreshResult outer = netMon();
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->kind, RefreshResult::Kind::Busy);
    EXPECT_EQ(outer.kind, RefreshResult::Kind::Refreshed);
    EXPECT_EQ(wmi.log.boundNames.size(), 1u);
    EXPECT_FALSE(netMon.Running());
}

}  // namespace
}  // namespace kestrova
