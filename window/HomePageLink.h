// The blue link at the bottom: hands the home page to the shell.
#pragma once

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/Window.h"

namespace kestrova {

inline constexpr TextView kLaunchFailurePrefix = u"Error launching website - ";

class HomePageLink {
public:
    HomePageLink(const Window& window, Shell& shell, MessageBox& messageBox);

    // One ShellExecuteA "open" per click. What the shell makes of the address
    // is its business; only a call that cannot be made shows the warning.
    void Click();

    static Text Address();         // "http://" + host + "/"
    static Text FailureMessage();  // fixed text, not built from the address

private:
    const Window& window_;
    Shell& shell_;
    MessageBox& messageBox_;
};

}  // namespace kestrova
