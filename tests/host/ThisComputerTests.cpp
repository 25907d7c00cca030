#include <gtest/gtest.h>

#include "inventory/ThisComputer.h"

namespace kestrova {
namespace {

TEST(ThisComputer, TellsThisComputersNamesFromOthers) {
    const ComputerNames names{u"PC7", u"pc7", u"pc7.corp.example"};
    const struct {
        Text name;
        bool local;
    } cases[] = {
        {u"", true},
        {u".", true},
        {u"localhost", true},
        {u"LocalHost", true},
        {u"PC7", true},
        {u"pc7", true},
        {u"Pc7.Corp.EXAMPLE", true},
        {u"127.0.0.1", true},
        {u"127.1.2.255", true},
        {u"::1", true},
        // The name reaches WMI verbatim, so blanks make it another name.
        {u" localhost", false},
        {u"PC7 ", false},
        {u"..", false},
        {u"localhost.", false},
        {u"127.0.0.1.example", false},
        {u"127.0.0", false},
        {u"127.0.0.256", false},
        {u"127.0.0.1000", false},
        {u"127..0.1", false},
        {u"128.0.0.1", false},
        {u"1127.0.0.1", false},
        {u"::2", false},
        {u"PC1", false},
        {u"pc7.corp", false},
        {u"corp.example", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsThisComputer(c.name, names), c.local) << '"' << TextToAscii(c.name) << '"';
    }
    // A name the platform could not tell is never matched by an empty text.
    EXPECT_FALSE(IsThisComputer(u"PC7", ComputerNames{}));
}

}  // namespace
}  // namespace kestrova
