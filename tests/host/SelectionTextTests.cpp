#include <gtest/gtest.h>

#include "window/SelectionText.h"

namespace kestrova {
namespace {

TEST(SelectionText, HeaderThenRowsTabSeparated) {
    const Text text = SelectionText({u"Mac", u"IP"}, {{u"a", u"1"}, {u"b", u""}});
    EXPECT_EQ(text, u"Mac\tIP\r\na\t1\r\nb\t\r\n");
}

TEST(SelectionText, CellBreaksCannotShiftColumns) {
    const Text text = SelectionText({u"A"}, {{u"x\ty\r\nz"}});
    EXPECT_EQ(text, u"A\r\nx y  z\r\n");
}

TEST(SelectionText, NoRowsGivesTheHeaderLine) {
    EXPECT_EQ(SelectionText({u"A", u"B"}, {}), u"A\tB\r\n");
}

}  // namespace
}  // namespace kestrova
