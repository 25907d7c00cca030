#include "monitor/PollingSwitch.h"

#include "monitor/IntervalRule.h"

namespace kestrova {

PollingSwitch::PollingSwitch(Controls controls, RefreshTick& tick, const Locale& locale,
                             MessageBox& messageBox)
    : c_(controls), tick_(tick), locale_(locale), messageBox_(messageBox) {}

void PollingSwitch::Press() {
    // Both are read before deciding; the caption comparison is exact.
    const Text caption = c_.cmdSwitch.Caption();
    const Text computer = c_.txtComputer.GetText();
    if (computer.empty() || caption != kCaptionOn) {
        Stop();
        return;
    }

    c_.cmdSwitch.SetCaption(kCaptionOff);
    c_.txtFreq.SetEnabled(false);

    std::optional<std::int32_t> interval;
    if (std::optional<double> seconds = locale_.TextToNumber(c_.txtFreq.GetText())) {
        interval = IntervalFromPeriod(*seconds);
    }
    if (!interval) {
        Stop();
        messageBox_.Show(kPeriodRefused, kStyleWarning);
        c_.txtFreq.FocusAndSelectAll();
        return;
    }

    // The timer is off here, so the interval asks nothing of the system and
    // cannot fail; enabling is what can.
    c_.tmrPing.SetInterval(*interval);
    // Never "OFF" with nothing ticking: a switch that reads OFF promises
    // refreshes.
    if (!c_.tmrPing.SetEnabled(true)) {
        Stop();
        messageBox_.Show(kTimerRefused, kStyleWarning);
        return;
    }
    // The timer already counts: the first refresh is part of the first period.
    tick_();
}

void PollingSwitch::Stop() {
    c_.tmrPing.SetEnabled(false);
    c_.txtFreq.SetEnabled(true);
    c_.cmdSwitch.SetCaption(kCaptionOn);
}

}  // namespace kestrova
