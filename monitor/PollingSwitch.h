// The ON/OFF button. Its caption is the switch's state: "ON" while stopped
// (the action the next press performs), "OFF" while running.
#pragma once

#include "monitor/RefreshTick.h"
#include "platform/CommandButton.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/TextBox.h"
#include "platform/Timer.h"

namespace kestrova {

inline constexpr TextView kCaptionOn = u"ON";
inline constexpr TextView kCaptionOff = u"OFF";
inline constexpr TextView kPeriodRefused =
    u"The refresh period must be a number of seconds below 66.";
inline constexpr TextView kTimerRefused =
    u"Windows could not start the refresh timer, so monitoring did not start.";

class PollingSwitch {
public:
    struct Controls {
        CommandButton& cmdSwitch;
        TextBox& txtComputer;
        TextBox& txtFreq;
        Timer& tmrPing;
    };

    PollingSwitch(Controls controls, RefreshTick& tick, const Locale& locale,
                  MessageBox& messageBox);

    // The Click of cmdSwitch. Starting needs a computer name and the caption
    // "ON" exactly; anything else stops (or silently stays stopped). A period
    // the timer cannot take refuses the start with one warning and hands the
    // period box back to the user; a timer the system cannot start refuses
    // it with one warning too, leaving the focus where it was (the period
    // is not at fault).
    void Press();

private:
    void Stop();

    Controls c_;
    RefreshTick& tick_;
    const Locale& locale_;
    MessageBox& messageBox_;
};

}  // namespace kestrova
