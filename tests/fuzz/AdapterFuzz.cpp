// Arbitrary adapters through a whole refresh: any value of any type, texts
// with zeros and lone surrogates, huge lists, values missing or failing,
// failing fetches. The table must come out consistent with the rules. Then
// other adapters through a second refresh of the same table, sorted by
// whatever the header clicks chose: it must hold what a table rebuilt from
// nothing, sorted the same way, holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <set>

#include "fakes/FakeControls.h"
#include "fakes/FakeListView.h"
#include "fakes/FakeRpcEndpoint.h"
#include "fakes/FakeWmi.h"
#include "inventory/AdapterQuery.h"
#include "inventory/AdapterRow.h"
#include "inventory/NetMon.h"

using namespace kestrova;

namespace {

[[noreturn]] void Fail(const char* what) {
    __builtin_printf("invariant broken: %s\n", what);
    std::abort();
}

Text FuzzText(FuzzedDataProvider& in) {
    const size_t length = in.ConsumeIntegralInRange<size_t>(0, in.ConsumeBool() ? 8 : 4096);
    Text text;
    for (size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) {
        text.push_back(static_cast<char16_t>(in.ConsumeIntegral<std::uint16_t>()));
    }
    return text;
}

WmiValue FuzzValue(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0: return WmiReadFailed{in.ConsumeIntegral<std::uint32_t>()};
        case 1: return WmiNull{};
        case 2: return FuzzText(in);
        case 3: return in.ConsumeBool();
        default: return in.ConsumeIntegral<std::int64_t>();
    }
}

const TextView kScalars[] = {property::MACAddress, property::Description, property::DHCPEnabled,
                             property::DNSDomain,  property::MTU,         property::ServiceName};
const TextView kLists[] = {property::IPAddress, property::DefaultIPGateway,
                           property::DNSServerSearchOrder};

fakes::FakeWmiScript FuzzScript(FuzzedDataProvider& in) {
    fakes::FakeWmiScript script;
    const size_t adapters = in.ConsumeIntegralInRange<size_t>(0, 12);
    for (size_t a = 0; a < adapters; ++a) {
        fakes::FakeAdapter adapter;
        for (TextView name : kScalars) {
            if (in.ConsumeBool()) adapter.properties[Text(name)] = FuzzValue(in);
        }
        for (TextView name : kLists) {
            if (!in.ConsumeBool()) continue;  // a null list
            const size_t n = in.ConsumeIntegralInRange<size_t>(0, in.ConsumeBool() ? 4 : 20000);
            auto& list = adapter.lists[Text(name)];
            for (size_t i = 0; i < n && in.remaining_bytes() > 0; ++i) {
                list.push_back(FuzzValue(in));
            }
        }
        script.adapters.push_back(std::move(adapter));
    }
    if (in.ConsumeBool()) script.failingFetch = in.ConsumeIntegralInRange<size_t>(0, 12);
    return script;
}

void CheckRows(const fakes::FakeListView& table, const RefreshResult& result, size_t adapters) {
    if (table.rows.size() > adapters) Fail("more rows than adapters");
    if (static_cast<size_t>(result.rows) != table.rows.size()) Fail("row count");
    std::set<Text> keys;
    for (const auto& row : table.rows) {
        if (row.smallIcon < 1 || row.smallIcon > 3) Fail("icon out of range");
        if (row.key) {
            if (*row.key != row.text) Fail("key differs from text");
            if (!keys.insert(*row.key).second) Fail("duplicate key");
        }
    }
}

bool SameRows(const std::vector<fakes::FakeRow>& a, const std::vector<fakes::FakeRow>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].key != b[i].key || a[i].text != b[i].text || a[i].smallIcon != b[i].smallIcon ||
            a[i].subItems != b[i].subItems) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    fakes::FakeWmi wmi;
    wmi.script = FuzzScript(in);
    const size_t adapters = wmi.script.adapters.size();

    fakes::FakeTextBox computer{FuzzText(in)};
    fakes::FakeListView table;
    fakes::FakeRpcEndpoint rpc;
    NetMon netMon{computer, rpc, wmi, table};
    const RefreshResult result = netMon();

    if (result.kind == RefreshResult::Kind::Busy) Fail("first refresh reported busy");
    if (result.kind == RefreshResult::Kind::Failed &&
        !(wmi.script.failingFetch && *wmi.script.failingFetch == 0)) {
        Fail("failed without a failing first fetch");
    }
    // The fetch after the last adapter counts too: failing instead of
    // saying "no more", it leaves the list in doubt.
    const bool laterFetchFails = wmi.script.failingFetch && *wmi.script.failingFetch > 0 &&
                                 *wmi.script.failingFetch <= adapters;
    if ((result.kind == RefreshResult::Kind::CutShort) != laterFetchFails) {
        Fail("cut short exactly when a later fetch fails");
    }
    if (laterFetchFails &&
        result.failure->adaptersRead != static_cast<int>(*wmi.script.failingFetch)) {
        Fail("adapters read before the list was cut short");
    }
    CheckRows(table, result, adapters);
    if (wmi.log.releases.size() != 2 || wmi.log.releases[0] != "set") Fail("release order");

    // Header clicks, then a second refresh with other adapters; a table
    // rebuilt from nothing with the same clicks must end up the same.
    std::vector<int> clicks(in.ConsumeIntegralInRange<size_t>(0, 4));
    for (int& column : clicks) column = in.ConsumeIntegralInRange<int>(0, 12);
    fakes::FakeListView rebuilt;
    for (int column : clicks) {
        table.table.SortBy(column);
        rebuilt.table.SortBy(column);
    }
    wmi.script = FuzzScript(in);
    const RefreshResult second = netMon();
    fakes::FakeWmi sameWmi;
    sameWmi.script = wmi.script;
    NetMon fromNothing{computer, rpc, sameWmi, rebuilt};
    const RefreshResult expected = fromNothing();
    if (second.kind != expected.kind) Fail("second refresh and rebuild differ in outcome");
    if (second.kind == RefreshResult::Kind::Refreshed) {
        CheckRows(table, second, wmi.script.adapters.size());
        if (!SameRows(table.rows, rebuilt.rows)) Fail("second refresh differs from a rebuild");
    }
    return 0;
}
