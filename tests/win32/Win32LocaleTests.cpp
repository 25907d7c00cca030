// Numbers and times under whatever locale the user has: the expectations are
// built from that locale's own separators, read independently.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Locale.h"

namespace kestrova::win32 {
namespace {

Text LocaleString(LCTYPE type) {
    std::array<wchar_t, 16> buffer{};
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer.data(),
                                  static_cast<int>(buffer.size()));
    return n > 0 ? FromWide(buffer.data()) : Text();
}

TEST(Win32LocaleTests, ReadsNumbersWithTheUsersSeparators) {
    const Text dec = LocaleString(LOCALE_SDECIMAL);
    const Text thousands = LocaleString(LOCALE_STHOUSAND);
    ASSERT_FALSE(dec.empty());
    struct Case {
        Text text;
        double value;
    };
    std::vector<Case> cases{
        {u"60", 60.0},
        {u"0", 0.0},
        {u"2" + dec + u"9", 2.9},
        {u"-3" + dec + u"5", -3.5},
        {dec + u"25", 0.25},
        {u" 60 ", 60.0},  // OLE Automation allows blanks around the number
        {u"1e12", 1e12},  // and exponents, in either case
        {u"1E12", 1e12},
        {u"2" + dec + u"5e-3", 0.0025},
        {u"65535", 65535.0},
    };
    if (!thousands.empty() && thousands != dec)
        cases.push_back({u"1" + thousands + u"000", 1000.0});

    const Win32Locale locale;
    for (const Case& c : cases) {
        SCOPED_TRACE(TextToAscii(c.text));
        const std::optional<double> value = locale.TextToNumber(c.text);
        ASSERT_TRUE(value.has_value());
        EXPECT_DOUBLE_EQ(*value, c.value);
    }
}

TEST(Win32LocaleTests, RefusesWhatIsNotANumberThere) {
    const Text dec = LocaleString(LOCALE_SDECIMAL);
    ASSERT_FALSE(dec.empty());
    const std::vector<Text> texts{
        u"",                             // nothing
        u"abc",                          // no digits
        u"60abc",                        // trailing garbage
        u"0" + dec + u"5" + dec + u"1",  // two decimal separators
        u"1d3",                          // not an exponent
        u"1e400",                        // overflows a double
        u"-1e400",                       // and downwards
        Text{u'6', u'0', u'\0', u'1'},   // a zero inside must not cut the text short
    };
    const Win32Locale locale;
    for (const Text& text : texts) {
        EXPECT_EQ(locale.TextToNumber(text), std::nullopt) << TextToAscii(text);
    }
}

// Whether the locale writes 24 or 12 hours, the minute and second digits
// appear as two digits and the hour as one of its two forms.
TEST(Win32LocaleTests, TimeToTextShowsHourMinuteAndSecond) {
    struct Case {
        TimeOfDay time;
        std::vector<Text> hourForms;
        Text minute;
        Text second;
    };
    const std::vector<Case> cases{
        {{9, 41, 27}, {u"9"}, u"41", u"27"},           // morning
        {{21, 5, 33}, {u"21", u"9"}, u"05", u"33"},    // evening, leading zero
        {{0, 0, 0}, {u"0", u"12"}, u"00", u"00"},      // midnight
        {{23, 59, 59}, {u"23", u"11"}, u"59", u"59"},  // last second
        {{12, 30, 15}, {u"12"}, u"30", u"15"},         // noon
    };
    const Win32Locale locale;
    std::vector<Text> seen;
    for (const Case& c : cases) {
        const Text text = locale.TimeToText(c.time);
        SCOPED_TRACE(TextToAscii(text));
        EXPECT_EQ(text.find(u'\0'), Text::npos);
        EXPECT_NE(text.find(c.minute), Text::npos);
        EXPECT_NE(text.find(c.second), Text::npos);
        bool hourShown = false;
        for (const Text& form : c.hourForms) hourShown = hourShown || text.find(form) != Text::npos;
        EXPECT_TRUE(hourShown);
        for (const Text& other : seen) EXPECT_NE(text, other);
        seen.push_back(text);
    }
}

TEST(Win32LocaleTests, TimeOutOfRangeGivesEmptyText) {
    const Win32Locale locale;
    for (const TimeOfDay& time : {TimeOfDay{24, 0, 0}, TimeOfDay{-1, 0, 0}, TimeOfDay{0, 60, 0},
                                  TimeOfDay{0, 0, 60}, TimeOfDay{0, -1, 0}}) {
        EXPECT_EQ(locale.TimeToText(time), Text())
            << time.hour << ":" << time.minute << ":" << time.second;
    }
    for (const LocalTime& date : {LocalTime{2026, 13, 1, {}}, LocalTime{2026, 0, 1, {}},
                                  LocalTime{2026, 1, 0, {}}, LocalTime{1600, 1, 1, {}}}) {
        EXPECT_EQ(locale.DateToText(date), Text()) << date.year << "-" << date.month << "-" << date.day;
    }
    const Text date = locale.DateToText({2026, 12, 28, {}});
    EXPECT_NE(date.find(u"28"), Text::npos) << TextToAscii(date);
    EXPECT_NE(date.find(u"12"), Text::npos) << TextToAscii(date);
    EXPECT_NE(date.find(u"26"), Text::npos) << TextToAscii(date);
}

}  // namespace
}  // namespace kestrova::win32
