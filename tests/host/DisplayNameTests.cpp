#include <gtest/gtest.h>

#include "inventory/DisplayName.h"

namespace kestrova {
namespace {

TEST(DisplayName, UsesTheComputerNameVerbatim) {
    const struct {
        Text computer;
        Text expected;
    } cases[] = {
        {u"PC1", u"winmgmts:\\\\PC1\\root\\CIMV2"},
        {u"", u"winmgmts:\\\\\\root\\CIMV2"},  // three backslashes: the local computer
        {u" pc1 ", u"winmgmts:\\\\ pc1 \\root\\CIMV2"},
        {u"host.example\\x", u"winmgmts:\\\\host.example\\x\\root\\CIMV2"},
        {u"\u00e9t\u00e9", u"winmgmts:\\\\\u00e9t\u00e9\\root\\CIMV2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayName(c.computer), c.expected) << TextToAscii(c.computer);
    }
}

}  // namespace
}  // namespace kestrova
