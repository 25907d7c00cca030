#include "monitor/RefreshTick.h"

namespace kestrova {

RefreshTick::RefreshTick(NetMon& netMon, Label& lblTime, Window& form, const Clock& clock,
                         const Locale& locale, ChangeLog& changes, SeenClock& seen,
                         Desk& desk)
    : netMon_(netMon),
      lblTime_(lblTime),
      form_(form),
      clock_(clock),
      locale_(locale),
      changes_(changes),
      seen_(seen),
      desk_(desk) {}

RefreshResult RefreshTick::operator()() {
    // One reading for the label, the marks and the log, so all three agree.
    RefreshResult result = netMon_([this] {
        return RefreshStamp{clock_.Now(), seen_.Read(desk_.Read())};
    });
    switch (result.kind) {
        case RefreshResult::Kind::Busy:
            return result;
        case RefreshResult::Kind::Refreshed:
            lblTime_.SetCaption(locale_.TimeToText(result.stamp.at.time));
            if (result.attention) form_.RequestAttention();
            break;
        case RefreshResult::Kind::Failed:
        case RefreshResult::Kind::CutShort:
            lblTime_.SetCaption(locale_.TimeToText(result.stamp.at.time) + u"  " +
                                Describe(*result.failure));
            break;
    }
    changes_.Record(result);
    return result;
}

}  // namespace kestrova
