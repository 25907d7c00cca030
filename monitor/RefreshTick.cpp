#include "monitor/RefreshTick.h"

namespace kestrova {

RefreshTick::RefreshTick(NetMon& netMon, Label& lblTime, Window& form, const Clock& clock,
                         const Locale& locale, ChangeLog& changes)
    : netMon_(netMon),
      lblTime_(lblTime),
      form_(form),
      clock_(clock),
      locale_(locale),
      changes_(changes) {}

RefreshResult RefreshTick::operator()() {
    // One reading for the label, the marks and the log, so all three agree.
    RefreshResult result = netMon_([this] {
        return RefreshStamp{locale_.TimeToText(clock_.Now()), form_.ForegroundTime()};
    });
    switch (result.kind) {
        case RefreshResult::Kind::Busy:
            return result;
        case RefreshResult::Kind::Refreshed:
            lblTime_.SetCaption(result.stamp.when);
            if (result.attention) form_.RequestAttention();
            break;
        case RefreshResult::Kind::Failed:
        case RefreshResult::Kind::CutShort:
            lblTime_.SetCaption(result.stamp.when + u"  " + Describe(*result.failure));
            break;
    }
    changes_.Record(result);
    return result;
}

}  // namespace kestrova
