#include "window/Form1.h"

#include "window/ControlTable.h"
#include "window/FormLayout.h"

namespace kestrova {

Form1::Form1(Controls controls, Services services)
    : c_(controls),
      s_(services),
      netMon_(c_.txtComputer, s_.rpc, s_.wmi, c_.Adaptors),
      tick_(netMon_, c_.lblTime, c_.form, s_.clock, s_.locale, changes_, seen_, s_.desk),
      switch_({c_.cmdSwitch, c_.txtComputer, c_.txtFreq, c_.tmrPing}, tick_, s_.locale,
              s_.messageBox),
      drag_(c_.form),
      link_(c_.form, s_.shell, s_.messageBox) {}

void Form1::Form_Load() {
    c_.tmrPing.SetEnabled(false);
    c_.lblCaption.SetCaption(s_.versionInfo.ProductName() + u" from " + Text(kHomePageHost));
    c_.txtComputer.SetText(s_.environment.GetVariable(u"COMPUTERNAME"));
}

void Form1::Form_Resize() {
    const FormLayout layout = LayOut(c_.form.Width(), c_.form.Height(), c_.Adaptors.Top());
    c_.lblCaption.SetWidth(layout.captionWidth);
    c_.Close.SetLeft(layout.closeLeft);
    c_.website.SetWidth(layout.websiteWidth);
    c_.website.SetTop(layout.websiteTop);
    c_.Adaptors.SetWidth(layout.adaptorsWidth);
    c_.Adaptors.SetHeight(layout.adaptorsHeight);
}

void Form1::cmdSwitch_Click() {
    if (closePending_ || unloaded_) return;
    switch_.Press();
    UnloadIfPending();
}

void Form1::tmrPing_Timer() {
    if (closePending_ || unloaded_) return;
    tick_();
    UnloadIfPending();
}

void Form1::Close_Click() {
    if (unloaded_) return;
    if (netMon_.Running()) {
        closePending_ = true;
        c_.tmrPing.SetEnabled(false);
        return;
    }
    unloaded_ = true;
    c_.form.Unload();
}

void Form1::UnloadIfPending() {
    if (!closePending_ || netMon_.Running() || unloaded_) return;
    unloaded_ = true;
    c_.form.Unload();
}

}  // namespace kestrova
