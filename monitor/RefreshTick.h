// The timer's tick: one refresh, then the time stamp (or why it failed), and
// a flash of the taskbar button when something worth seeing changed.
#pragma once

#include "inventory/NetMon.h"
#include "monitor/ChangeLog.h"
#include "monitor/SeenClock.h"
#include "platform/Desk.h"
#include "platform/Clock.h"
#include "platform/Label.h"
#include "platform/Locale.h"
#include "platform/Window.h"

namespace kestrova {

class RefreshTick {
public:
    RefreshTick(NetMon& netMon, Label& lblTime, Window& form, const Clock& clock,
                const Locale& locale, ChangeLog& changes, SeenClock& seen, Desk& desk);

    // A refresh that fails, before its first adapter or by a list cut short,
    // says so in the time label after the time of the attempt; monitoring
    // goes on and the next tick tries again. A tick that arrives while a
    // refresh runs does nothing. A light that changed, or an adapter that
    // came or went, asks for the user's attention. What changed, and what
    // failed, goes into the change log.
    RefreshResult operator()();

private:
    NetMon& netMon_;
    Label& lblTime_;
    Window& form_;
    const Clock& clock_;
    const Locale& locale_;
    ChangeLog& changes_;
    SeenClock& seen_;
    Desk& desk_;
};

}  // namespace kestrova
