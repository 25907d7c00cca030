#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "window/ControlColours.h"

namespace kestrova {
namespace {

// Windows' COLOR_* values, written out so that a wrong constant cannot agree
// with itself.
constexpr ControlColour (*System)(int) = &SystemColour;
const ColourPair kWindowPair{System(5), System(8)};

struct Case {
    const char* name;
    std::optional<ControlId> id;  // none: the form
    ColourPair usual;
    ColourPair highContrast;
};

const Case kCases[] = {
    {"Form1", std::nullopt, {RgbColour(0, 0, 0), DefaultColour()}, kWindowPair},
    {"lblCaption", ControlId::lblCaption, {RgbColour(64, 64, 64), RgbColour(224, 224, 224)},
     {System(2), System(9)}},
    {"Close", ControlId::Close, {RgbColour(64, 64, 64), DefaultColour()}, {System(2), System(9)}},
    {"txtComputer", ControlId::txtComputer, {}, kWindowPair},
    {"cmdSwitch", ControlId::cmdSwitch, {RgbColour(192, 192, 255), DefaultColour()},
     {System(15), System(18)}},
    {"Label3", ControlId::Label3, {System(18), System(14)}, kWindowPair},
    {"txtFreq", ControlId::txtFreq, {}, kWindowPair},
    {"lblTime", ControlId::lblTime, {RgbColour(0, 0, 0), RgbColour(255, 128, 128)}, kWindowPair},
    {"Adaptors", ControlId::Adaptors, {}, kWindowPair},
    {"website", ControlId::website, {RgbColour(0, 0, 0), RgbColour(0, 0, 255)},
     {System(5), System(26)}},
};

TEST(ControlColoursTests, TheFormAndEachControlTakeTheirPairWithAndWithoutHighContrast) {
    std::set<ControlId> covered;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        if (c.id) covered.insert(*c.id);
        for (const bool highContrast : {false, true}) {
            SCOPED_TRACE(highContrast ? "high contrast" : "usual scheme");
            const ColourPair got =
                c.id ? ControlColours(*c.id, highContrast) : FormColours(highContrast);
            EXPECT_EQ(got, highContrast ? c.highContrast : c.usual);
        }
    }
    EXPECT_EQ(covered.size(), kControlTable.size()) << "every control has a case";
}

}  // namespace
}  // namespace kestrova
