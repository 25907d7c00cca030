#include <gtest/gtest.h>

#include "fakes/FakeControls.h"
#include "fakes/FakeListView.h"
#include "fakes/FakeRpcEndpoint.h"
#include "fakes/FakeWmi.h"
#include "inventory/AdapterColumns.h"
#include "window/ControlTable.h"
#include "window/Form1.h"
#include "window/FormLayout.h"

namespace kestrova {
namespace {

class Form1Test : public testing::Test {
protected:
    Form1Test() {
        environment.variables[u"COMPUTERNAME"] = u"WORKSTATION7";
        wmi.script.adapters = {fakes::AdapterWithMac(u"A"), fakes::AdapterWithMac(u"B")};
    }

    fakes::FakeWindow form;
    fakes::FakeLabel lblCaption, lblTime, website;
    fakes::FakePictureBox close;
    fakes::FakeTextBox txtComputer{u"Text1"}, txtFreq{u"60"};
    fakes::FakeCommandButton cmdSwitch{u"ON"};
    fakes::FakeListView adaptors;
    fakes::FakeTimer tmrPing;
    fakes::FakeRpcEndpoint rpc;
    fakes::FakeWmi wmi;
    fakes::FakeShell shell;
    fakes::FakeMessageBox messageBox;
    fakes::FakeEnvironment environment;
    fakes::FakeVersionInfo versionInfo;
    fakes::FakeClock clock;
    fakes::FakeLocale locale;
    fakes::FakeDesk desk;
    Form1 form1{{form, lblCaption, close, txtComputer, cmdSwitch, txtFreq, lblTime, adaptors,
                 website, tmrPing},
                {rpc, wmi, shell, messageBox, environment, versionInfo, clock, locale, desk}};

    int Refreshes() const { return static_cast<int>(wmi.log.boundNames.size()); }
};

TEST_F(Form1Test, LoadSetsTimerTitleAndComputerName) {
    form1.Form_Load();
    EXPECT_FALSE(tmrPing.enabled);
    EXPECT_EQ(lblCaption.caption, u"Kestrova from kestrova.example");
    EXPECT_EQ(txtComputer.text, u"WORKSTATION7");
    EXPECT_EQ(Refreshes(), 0) << "nothing is queried before the switch is pressed";
}

TEST_F(Form1Test, LoadWithoutComputerNameLeavesTheBoxEmpty) {
    environment.variables.clear();
    versionInfo.productName = u"Other";
    form1.Form_Load();
    EXPECT_EQ(txtComputer.text, u"");
    EXPECT_EQ(lblCaption.caption, u"Other from kestrova.example");
}

TEST_F(Form1Test, ResizeLaysOutTheStretchingControls) {
    const struct {
        float width, height;
        float closeLeft, websiteTop, tableHeight;
    } cases[] = {
        {10185, 3510, 9700, 3010, 2290},
        {15000, 6000, 14515, 5500, 4780},
        {8000.5f, 1220, 7515.5f, 720, 0},
        {3000, 1000, 2515, 500, 0},  // lower than the table's top: height 0, never negative
    };
    for (const auto& c : cases) {
        form.width = c.width;
        form.height = c.height;
        form1.Form_Resize();
        EXPECT_EQ(lblCaption.width, c.width);
        EXPECT_EQ(close.left, c.closeLeft);
        EXPECT_EQ(website.width, c.width);
        EXPECT_EQ(website.top, c.websiteTop);
        EXPECT_EQ(adaptors.width, c.width);
        EXPECT_EQ(adaptors.height, c.tableHeight) << c.width << " x " << c.height;
    }
}

TEST_F(Form1Test, LayoutUsesTheTablesOwnTop) {
    adaptors.top = 1000;
    form1.Form_Resize();
    EXPECT_EQ(adaptors.height, 3510.0f - 1000.0f - 500.0f);
}

TEST_F(Form1Test, SwitchAndTimerRunTheRefresh) {
    form1.Form_Load();
    form1.cmdSwitch_Click();
    EXPECT_EQ(cmdSwitch.caption, u"OFF");
    EXPECT_EQ(adaptors.rows.size(), 2u);
    form1.tmrPing_Timer();
    EXPECT_EQ(Refreshes(), 2);
    EXPECT_EQ(adaptors.rows.size(), 2u);
    EXPECT_EQ(lblTime.caption, u"10:32:05");
}

TEST_F(Form1Test, CloseUnloadsAtOnceWhenIdle) {
    form1.Close_Click();
    EXPECT_EQ(form.unloads, 1);
    form1.tmrPing_Timer();
    EXPECT_EQ(Refreshes(), 0) << "no refresh after closing";
}

TEST_F(Form1Test, CloseDuringARefreshWaitsForItThenUnloadsOnce) {
    form1.Form_Load();
    int reads = 0;
    txtComputer.onRead = [&] {
        if (++reads != 2) return;  // the switch reads it first, then the refresh
        form1.Close_Click();  // dispatched from inside the refresh
        EXPECT_EQ(form.unloads, 0) << "the window must outlive the running refresh";
        form1.tmrPing_Timer();  // a tick dispatched there too
    };
    form1.cmdSwitch_Click();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_EQ(Refreshes(), 1);
    EXPECT_FALSE(tmrPing.enabled);
    form1.tmrPing_Timer();
    form1.cmdSwitch_Click();
    form1.Close_Click();
    EXPECT_EQ(Refreshes(), 1);
    EXPECT_EQ(form.unloads, 1);
}

TEST_F(Form1Test, TitleLabelDragsTheWindow) {
    form1.lblCaption_MouseDown(200, 100);
    form1.lblCaption_MouseMove(320, 180);
    form1.lblCaption_MouseUp(200, 100);
    EXPECT_EQ(form.left, 1620);
    EXPECT_EQ(form.top, 1280);
    EXPECT_FALSE(form1.Drag().DragActive());
}

TEST_F(Form1Test, LinkClickGoesToTheShell) {
    form1.website_Click();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, u"http://kestrova.example/");
}

TEST(ControlTable, StartupPlacesAndTexts) {
    EXPECT_EQ(EntryOf(ControlId::lblCaption).place, (ControlPlace{0, 0, 3200, 255}));
    EXPECT_EQ(EntryOf(ControlId::Close).place, (ControlPlace{2950, 20, 255, 230}));
    EXPECT_EQ(EntryOf(ControlId::txtComputer).place, (ControlPlace{120, 360, 1935, 285}));
    EXPECT_EQ(EntryOf(ControlId::cmdSwitch).place, (ControlPlace{2280, 375, 735, 255}));
    EXPECT_EQ(EntryOf(ControlId::Label3).place, (ControlPlace{3240, 360, 495, 255}));
    EXPECT_EQ(EntryOf(ControlId::txtFreq).place, (ControlPlace{3600, 360, 495, 285}));
    EXPECT_EQ(EntryOf(ControlId::Adaptors).place, (ControlPlace{0, 720, 5415, 1695}));
    EXPECT_EQ(EntryOf(ControlId::website).place, (ControlPlace{0, 2500, 3015, 255}));
    EXPECT_EQ(EntryOf(ControlId::cmdSwitch).text, u"ON");
    EXPECT_EQ(EntryOf(ControlId::txtFreq).text, u"60");
    EXPECT_EQ(EntryOf(ControlId::Label3).text, u"Freq.");
    EXPECT_EQ(EntryOf(ControlId::website).text, u"kestrova.example");
    for (size_t i = 0; i < kControlTable.size(); ++i) {
        EXPECT_EQ(static_cast<size_t>(kControlTable[i].id), i) << "EntryOf indexes by id";
    }
    // The time label must not hide under the table or the inputs.
    const ControlPlace time = EntryOf(ControlId::lblTime).place;
    const ControlPlace freq = EntryOf(ControlId::txtFreq).place;
    EXPECT_GE(time.left, freq.left + freq.width);
    EXPECT_LE(time.top + time.height, EntryOf(ControlId::Adaptors).place.top);
    EXPECT_LE(time.left + time.width, kFormWidth);
}

TEST(AdapterColumns, HeadersAndWidths) {
    int total = 0;
    for (const auto& column : kAdapterColumns) total += column.widthTwips;
    EXPECT_EQ(total, 19190);
    EXPECT_EQ(kAdapterColumns[0].header, u"Mac");
    EXPECT_EQ(kAdapterColumns[12].header, u"Service Name");
}

}  // namespace
}  // namespace kestrova
