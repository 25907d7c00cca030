#include "monitor/RefreshTick.h"

namespace kestrova {

RefreshTick::RefreshTick(NetMon& netMon, Label& lblTime, Window& form, const Clock& clock,
                         const Locale& locale)
    : netMon_(netMon), lblTime_(lblTime), form_(form), clock_(clock), locale_(locale) {}

RefreshResult RefreshTick::operator()() {
    RefreshResult result = netMon_();
    switch (result.kind) {
        case RefreshResult::Kind::Busy:
            break;
        case RefreshResult::Kind::Refreshed:
            lblTime_.SetCaption(locale_.TimeToText(clock_.Now()));
            if (result.attention) form_.RequestAttention();
            break;
        case RefreshResult::Kind::Failed:
        case RefreshResult::Kind::CutShort:
            lblTime_.SetCaption(locale_.TimeToText(clock_.Now()) + u"  " +
                                Describe(*result.failure));
            break;
    }
    return result;
}

}  // namespace kestrova
