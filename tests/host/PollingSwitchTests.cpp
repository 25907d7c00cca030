#include <gtest/gtest.h>

#include "fakes/FakeControls.h"
#include "fakes/FakeListView.h"
#include "fakes/FakeRpcEndpoint.h"
#include "fakes/FakeWmi.h"
#include "monitor/PollingSwitch.h"

namespace kestrova {
namespace {

class PollingSwitchTest : public testing::Test {
protected:
    PollingSwitchTest() { wmi.script.adapters = {fakes::AdapterWithMac(u"A")}; }

    fakes::FakeCommandButton cmdSwitch{u"ON"};
    fakes::FakeTextBox txtComputer{u"PC1"};
    fakes::FakeTextBox txtFreq{u"60"};
    fakes::FakeTimer tmrPing;
    fakes::FakeLabel lblTime;
    fakes::FakeWindow form;
    fakes::FakeListView table;
    fakes::FakeWmi wmi;
    fakes::FakeRpcEndpoint rpc;
    fakes::FakeClock clock;
    fakes::FakeLocale locale;
    fakes::FakeMessageBox messageBox;
    NetMon netMon{txtComputer, rpc, wmi, table};
    ChangeLog changes;
    SeenClock seen;
    fakes::FakeDesk desk;
    RefreshTick tick{netMon, lblTime, form, clock, locale, changes, seen, desk};
    PollingSwitch sw{{cmdSwitch, txtComputer, txtFreq, tmrPing}, tick, locale, messageBox};

    int Refreshes() const { return static_cast<int>(wmi.log.boundNames.size()); }
    void SetUpStopped() { tmrPing.enabled = false; }
};

TEST_F(PollingSwitchTest, PressInStoppedStartsAndRefreshesAtOnce) {
    SetUpStopped();
    sw.Press();
    EXPECT_EQ(cmdSwitch.caption, u"OFF");
    EXPECT_FALSE(txtFreq.enabled);
    EXPECT_TRUE(tmrPing.enabled);
    EXPECT_EQ(tmrPing.interval, 60000);
    EXPECT_EQ(Refreshes(), 1);
    EXPECT_EQ(lblTime.caption, u"10:32:05");
    EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(PollingSwitchTest, PeriodsBecomeIntervals) {
    const struct {
        Text period;
        std::int32_t interval;
    } cases[] = {{u"60", 60000}, {u"2.9", 2000}, {u"65.9", 65000}, {u"0.5", 0}, {u"0", 0},
                 {u" 5 ", 5000}};
    for (const auto& c : cases) {
        cmdSwitch.caption = u"ON";
        txtFreq.text = c.period;
        sw.Press();
        EXPECT_EQ(cmdSwitch.caption, u"OFF") << TextToAscii(c.period);
        EXPECT_EQ(tmrPing.interval, c.interval) << TextToAscii(c.period);
        EXPECT_TRUE(tmrPing.enabled) << TextToAscii(c.period);
    }
    EXPECT_EQ(Refreshes(), 6);
}

TEST_F(PollingSwitchTest, AnUnusablePeriodRefusesToStart) {
    struct Case {
        Text period;
        bool timerRefuses = false;  // a usable period, but SetTimer fails
    };
    const Case refused[] = {{u"abc"}, {u""},    {u"-1"},  {u"66"},       {u"1e12"},
                            {u"-0.5"}, {u"nan"}, {u"inf"}, {u"60", true}};
    for (const Case& c : refused) {
        SetUpStopped();
        cmdSwitch.caption = u"ON";
        txtFreq.text = c.period;
        txtFreq.enabled = true;
        tmrPing.interval = 1000;
        tmrPing.refusesToStart = c.timerRefuses;
        messageBox.shown.clear();
        const int focusBefore = txtFreq.focusRequests;

        sw.Press();

        const std::string what = TextToAscii(c.period) + (c.timerRefuses ? ", no timer" : "");
        EXPECT_EQ(cmdSwitch.caption, u"ON") << what;
        EXPECT_TRUE(txtFreq.enabled) << what;
        EXPECT_FALSE(tmrPing.enabled) << what;
        ASSERT_EQ(messageBox.shown.size(), 1u) << what;
        EXPECT_EQ(messageBox.shown[0].style, 48u) << what;
        if (c.timerRefuses) {
            EXPECT_EQ(messageBox.shown[0].prompt, kTimerRefused) << what;
            EXPECT_EQ(txtFreq.focusRequests, focusBefore) << what << ": the period is not at fault";
            continue;
        }
        EXPECT_EQ(tmrPing.interval, 1000) << what << ": the interval is not touched";
        EXPECT_NE(messageBox.shown[0].prompt.find(u"66"), Text::npos) << what;
        EXPECT_EQ(txtFreq.focusRequests, focusBefore + 1) << what;
    }
    EXPECT_EQ(Refreshes(), 0);
    EXPECT_EQ(lblTime.caption, u"");
}

TEST_F(PollingSwitchTest, PressWithoutAComputerNameStaysStoppedSilently) {
    SetUpStopped();
    txtComputer.text = u"";
    sw.Press();
    EXPECT_EQ(cmdSwitch.caption, u"ON");
    EXPECT_TRUE(txtFreq.enabled);
    EXPECT_FALSE(tmrPing.enabled);
    EXPECT_EQ(Refreshes(), 0);
    EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(PollingSwitchTest, PressWhileRunningStopsAndKeepsTableAndTime) {
    sw.Press();
    ASSERT_EQ(table.rows.size(), 1u);
    txtComputer.text = u"";  // emptied while running: still stops
    sw.Press();
    EXPECT_EQ(cmdSwitch.caption, u"ON");
    EXPECT_TRUE(txtFreq.enabled);
    EXPECT_FALSE(tmrPing.enabled);
    EXPECT_EQ(tmrPing.interval, 60000) << "stopping leaves the interval as it was";
    EXPECT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(lblTime.caption, u"10:32:05");
    EXPECT_EQ(Refreshes(), 1);
}

TEST_F(PollingSwitchTest, OnlyTheExactCaptionOnStarts) {
    for (const Text caption : {u"on", u"On", u"ON ", u""}) {
        cmdSwitch.caption = caption;
        sw.Press();
        EXPECT_EQ(cmdSwitch.caption, u"ON") << TextToAscii(caption);
    }
    EXPECT_EQ(Refreshes(), 0);
}

TEST_F(PollingSwitchTest, RestartReadsThePeriodAgain) {
    sw.Press();
    sw.Press();
    txtFreq.text = u"5";
    sw.Press();
    EXPECT_EQ(tmrPing.interval, 5000);
    EXPECT_EQ(Refreshes(), 2);
}

TEST_F(PollingSwitchTest, AFailedFirstRefreshKeepsMonitoringAndSaysWhy) {
    wmi.script.bindFailure = PlatformError{0x800706BA, u"The RPC server is unavailable.\r\n"};
    sw.Press();
    EXPECT_EQ(cmdSwitch.caption, u"OFF");
    EXPECT_TRUE(tmrPing.enabled);
    EXPECT_EQ(lblTime.caption, u"10:32:05  PC1: The RPC server is unavailable. (0x800706BA)");
    EXPECT_TRUE(messageBox.shown.empty()) << "no modal box for a failed refresh";
}

}  // namespace
}  // namespace kestrova
