#include "window/ControlColours.h"

namespace kestrova {

namespace {
constexpr ColourPair kWindowPair{SystemColour(kWindowColour), SystemColour(kWindowTextColour)};
}  // namespace

ColourPair ControlColours(ControlId id, bool highContrast) {
    const ControlEntry& entry = EntryOf(id);
    if (!highContrast) return {entry.back, entry.fore};
    switch (id) {
        // The close picture sits on the title, so it shares the title's back.
        case ControlId::lblCaption:
        case ControlId::Close:
            return {SystemColour(kActiveCaptionColour), SystemColour(kCaptionTextColour)};
        case ControlId::cmdSwitch:
            return {SystemColour(kButtonFaceColour), SystemColour(kButtonTextColour)};
        // The scheme's link colour is chosen to read on its window colour.
        case ControlId::website:
            return {SystemColour(kWindowColour), SystemColour(kHotLightColour)};
        case ControlId::txtComputer:
        case ControlId::Label3:
        case ControlId::txtFreq:
        case ControlId::lblTime:
        case ControlId::Adaptors:
            break;
    }
    return kWindowPair;
}

ColourPair FormColours(bool highContrast) {
    if (highContrast) return kWindowPair;
    return {RgbColour(kFormBackColour.red, kFormBackColour.green, kFormBackColour.blue),
            DefaultColour()};
}

}  // namespace kestrova
