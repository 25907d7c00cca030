// Any period text through the switch: whatever the user types, a press either
// starts with an interval the timer can take or refuses cleanly.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "fakes/FakeControls.h"
#include "fakes/FakeListView.h"
#include "fakes/FakeRpcEndpoint.h"
#include "fakes/FakeWmi.h"
#include "monitor/IntervalRule.h"
#include "monitor/PollingSwitch.h"

using namespace kestrova;

namespace {
[[noreturn]] void Fail(const char* what) {
    __builtin_printf("invariant broken: %s\n", what);
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const double raw = in.ConsumeFloatingPoint<double>();
    if (const auto interval = IntervalFromPeriod(raw)) {
        if (*interval < 0 || *interval > kLongestTimerInterval) Fail("interval out of range");
    }

    fakes::FakeCommandButton cmdSwitch{u"ON"};
    fakes::FakeTextBox txtComputer{u"PC1"};
    fakes::FakeTextBox txtFreq{AsciiToText(in.ConsumeRemainingBytesAsString())};
    fakes::FakeTimer tmrPing;
    tmrPing.enabled = false;
    fakes::FakeLabel lblTime;
    fakes::FakeWindow form;
    fakes::FakeListView table;
    fakes::FakeWmi wmi;
    fakes::FakeRpcEndpoint rpc;
    fakes::FakeClock clock;
    fakes::FakeLocale locale;
    fakes::FakeMessageBox box;
    NetMon netMon{txtComputer, rpc, wmi, table};
    ChangeLog changes;
    SeenClock seen;
    fakes::FakeDesk desk;
    RefreshTick tick{netMon, lblTime, form, clock, locale, changes, seen, desk};
    PollingSwitch sw{{cmdSwitch, txtComputer, txtFreq, tmrPing}, tick, locale, box};

    sw.Press();
    if (cmdSwitch.caption == u"OFF") {
        if (!tmrPing.enabled || txtFreq.enabled) Fail("running state incomplete");
        if (tmrPing.interval < 0 || tmrPing.interval > kLongestTimerInterval) Fail("bad interval");
        if (!box.shown.empty()) Fail("warning shown on a good start");
        if (wmi.log.boundNames.size() != 1) Fail("no immediate refresh");
    } else {
        if (cmdSwitch.caption != u"ON") Fail("caption neither ON nor OFF");
        if (tmrPing.enabled || !txtFreq.enabled) Fail("refusal did not undo the start");
        if (box.shown.size() != 1) Fail("a refusal shows exactly one warning");
        if (!wmi.log.boundNames.empty()) Fail("refused start refreshed");
    }
    return 0;
}
