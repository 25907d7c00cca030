// The main window's controls as they are at start-up: places in twips from
// the client area's top-left corner, texts, colours and tab order. The
// Windows side creates the controls from this table; tests read it back.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Text.h"

namespace kestrova {

inline constexpr float kFormWidth = 10185.0f;  // client area, twips
inline constexpr float kFormHeight = 3510.0f;

struct Rgb {
    std::uint8_t red, green, blue;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

enum class ControlKind { Label, PictureBox, TextBox, CommandButton, ListView };

// A colour is either an RGB value or a system colour index (COLOR_*).
struct ControlColour {
    enum class Source { Default, Rgb, System } source = Source::Default;
    Rgb rgb{};
    int systemIndex = 0;
    friend constexpr bool operator==(const ControlColour&, const ControlColour&) = default;
};
inline constexpr ControlColour DefaultColour() { return {}; }
inline constexpr ControlColour RgbColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {ControlColour::Source::Rgb, {r, g, b}, 0};
}
inline constexpr ControlColour SystemColour(int index) {
    return {ControlColour::Source::System, {}, index};
}

// The system colour indexes the window uses, by their Windows values; the
// Windows side checks each against its COLOR_* constant.
inline constexpr int kActiveCaptionColour = 2;
inline constexpr int kWindowColour = 5;
inline constexpr int kWindowTextColour = 8;
inline constexpr int kCaptionTextColour = 9;
inline constexpr int kHighlightTextColour = 14;
inline constexpr int kButtonFaceColour = 15;
inline constexpr int kButtonTextColour = 18;
inline constexpr int kHotLightColour = 26;

enum class ControlId : int {
    lblCaption,
    Close,
    txtComputer,
    cmdSwitch,
    Label3,
    txtFreq,
    lblTime,
    Adaptors,
    website,
};

struct ControlPlace {
    float left, top, width, height;
    friend constexpr bool operator==(const ControlPlace&, const ControlPlace&) = default;
};

struct ControlEntry {
    ControlId id;
    TextView name;
    ControlKind kind;
    ControlPlace place;
    TextView text;  // start-up text
    ControlColour back;
    ControlColour fore;
    int tabIndex;
};

inline constexpr TextView kHomePageHost = u"kestrova.example";

// lblTime sits in the top row right of the period box, where the table does
// not cover it, and is wide enough for a time and a short failure message.
inline constexpr std::array<ControlEntry, 9> kControlTable{{
    {ControlId::lblCaption, u"lblCaption", ControlKind::Label, {0, 0, 3200, 255}, u"",
     RgbColour(64, 64, 64), RgbColour(224, 224, 224), 5},
    {ControlId::Close, u"Close", ControlKind::PictureBox, {2950, 20, 255, 230}, u"",
     RgbColour(64, 64, 64), DefaultColour(), 4},
    {ControlId::txtComputer, u"txtComputer", ControlKind::TextBox, {120, 360, 1935, 285},
     u"Text1", DefaultColour(), DefaultColour(), 8},
    {ControlId::cmdSwitch, u"cmdSwitch", ControlKind::CommandButton, {2280, 375, 735, 255}, u"ON",
     RgbColour(192, 192, 255), DefaultColour(), 2},
    {ControlId::Label3, u"Label3", ControlKind::Label, {3240, 360, 495, 255}, u"Freq.",
     SystemColour(kButtonTextColour), SystemColour(kHighlightTextColour), 0},
    {ControlId::txtFreq, u"txtFreq", ControlKind::TextBox, {3600, 360, 495, 285}, u"60",
     DefaultColour(), DefaultColour(), 1},
    {ControlId::lblTime, u"lblTime", ControlKind::Label, {4200, 375, 5865, 255}, u"",
     RgbColour(0, 0, 0), RgbColour(255, 128, 128), 3},
    {ControlId::Adaptors, u"Adaptors", ControlKind::ListView, {0, 720, 5415, 1695}, u"",
     DefaultColour(), DefaultColour(), 7},
    {ControlId::website, u"website", ControlKind::Label, {0, 2500, 3015, 255}, kHomePageHost,
     RgbColour(0, 0, 0), RgbColour(0, 0, 255), 6},
}};

inline constexpr const ControlEntry& EntryOf(ControlId id) {
    return kControlTable[static_cast<std::size_t>(id)];
}

inline constexpr std::int32_t kStartupTimerInterval = 1000;  // tmrPing, milliseconds
inline constexpr Rgb kFormBackColour{0, 0, 0};

}  // namespace kestrova
