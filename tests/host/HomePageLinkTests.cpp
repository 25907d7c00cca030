#include <gtest/gtest.h>

#include "fakes/FakeControls.h"
#include "window/HomePageLink.h"

namespace kestrova {
namespace {

class HomePageLinkTest : public testing::Test {
protected:
    fakes::FakeWindow window;
    fakes::FakeShell shell;
    fakes::FakeMessageBox messageBox;
    HomePageLink link{window, shell, messageBox};
};

TEST_F(HomePageLinkTest, AsksTheShellToOpenTheHomePageOnce) {
    link.Click();
    ASSERT_EQ(shell.calls.size(), 1u);
    const auto& call = shell.calls[0];
    EXPECT_EQ(call.owner, window.handle);
    EXPECT_EQ(call.operation, u"open");
    EXPECT_EQ(call.file, u"http://kestrova.example/");
    EXPECT_EQ(call.parameters, u"");
    EXPECT_EQ(call.directory, u"");
    EXPECT_EQ(call.show, 1);
    EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(HomePageLinkTest, AShellThatReportsFailureShowsNothing) {
    for (std::intptr_t result : {0, 2, 31, 32}) {
        shell.result = result;
        link.Click();
    }
    EXPECT_EQ(shell.calls.size(), 4u);
    EXPECT_TRUE(messageBox.shown.empty());
}

TEST_F(HomePageLinkTest, ACallThatCannotBeMadeShowsOneWarning) {
    shell.result = std::nullopt;
    link.Click();
    ASSERT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(messageBox.shown[0].prompt, u"Error launching website - kestrova.example");
    EXPECT_EQ(messageBox.shown[0].style, 48u);
    link.Click();
    EXPECT_EQ(messageBox.shown.size(), 2u) << "one box per click, and clicks keep working";
}

}  // namespace
}  // namespace kestrova
