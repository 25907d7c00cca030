// The main window's behaviour: one handler per event of one control, over the
// platform's controls. The Windows side creates the controls and routes its
// messages here; it holds no behaviour of its own.
#pragma once

#include "inventory/NetMon.h"
#include "monitor/ChangeLog.h"
#include "monitor/PollingSwitch.h"
#include "monitor/RefreshTick.h"
#include "monitor/SeenClock.h"
#include "platform/Clock.h"
#include "platform/CommandButton.h"
#include "platform/Desk.h"
#include "platform/Environment.h"
#include "platform/Label.h"
#include "inventory/ListView.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/PictureBox.h"
#include "platform/RpcEndpoint.h"
#include "platform/Shell.h"
#include "platform/TextBox.h"
#include "platform/Timer.h"
#include "platform/VersionInfo.h"
#include "platform/Window.h"
#include "platform/Wmi.h"
#include "window/HomePageLink.h"
#include "window/TitleDrag.h"

namespace kestrova {

class Form1 {
public:
    struct Controls {
        Window& form;
        Label& lblCaption;
        PictureBox& Close;
        TextBox& txtComputer;
        CommandButton& cmdSwitch;
        TextBox& txtFreq;
        Label& lblTime;
        ListView& Adaptors;
        Label& website;
        Timer& tmrPing;
    };
    struct Services {
        RpcEndpoint& rpc;
        WmiConnector& wmi;
        Shell& shell;
        MessageBox& messageBox;
        const Environment& environment;
        const VersionInfo& versionInfo;
        const Clock& clock;
        const Locale& locale;
        Desk& desk;
    };

    Form1(Controls controls, Services services);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void Form_Load();
    void Form_Resize();
    void cmdSwitch_Click();
    void tmrPing_Timer();
    void lblCaption_MouseDown(float x, float y) { drag_.MouseDown(x, y); }
    void lblCaption_MouseMove(float x, float y) { drag_.MouseMove(x, y); }
    void lblCaption_MouseUp(float x, float y) { drag_.MouseUp(x, y); }
    void lblCaption_LostCapture() { drag_.LostCapture(); }
    // Closing in the middle of a refresh (its COM waits dispatch messages)
    // waits until the refresh has returned; no refresh starts after it.
    void Close_Click();
    void website_Click() { link_.Click(); }
    // The program came to the front or left it, was minimized or restored,
    // the session locked or the computer slept: whether anybody can see it.
    void Desk_Changed(DeskEvent event) { seen_.Note(event, s_.desk.Read()); }
    // The seen clock read now: the table's view moved, and the time it was
    // in view so far counts for the rows it showed.
    Presence SeenNow() { return seen_.Read(s_.desk.Read()); }

    const TitleDrag& Drag() const { return drag_; }
    ChangeLog& Changes() { return changes_; }
    bool ClosePending() const { return closePending_; }

private:
    void UnloadIfPending();

    Controls c_;
    Services s_;
    NetMon netMon_;
    ChangeLog changes_;
    SeenClock seen_;
    RefreshTick tick_;
    PollingSwitch switch_;
    TitleDrag drag_;
    HomePageLink link_;
    bool closePending_ = false;
    bool unloaded_ = false;
};

}  // namespace kestrova
