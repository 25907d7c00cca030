#include "window/HomePageLink.h"

#include "window/ControlTable.h"

namespace kestrova {

namespace {
constexpr std::int32_t kShowNormal = 1;
}

HomePageLink::HomePageLink(const Window& window, Shell& shell, MessageBox& messageBox)
    : window_(window), shell_(shell), messageBox_(messageBox) {}

Text HomePageLink::Address() { return Text(u"http://") + Text(kHomePageHost) + u"/"; }

Text HomePageLink::FailureMessage() { return Text(kLaunchFailurePrefix) + Text(kHomePageHost); }

void HomePageLink::Click() {
    const Text address = Address();
    // Empty texts, not null pointers, for the parameters and the directory.
    const auto result =
        shell_.ShellExecuteA(window_.Handle(), u"open", address, u"", u"", kShowNormal);
    if (!result) messageBox_.Show(FailureMessage(), kStyleWarning);
}

}  // namespace kestrova
