#include "platform/win32/Win32Locale.h"

#include <windows.h>

#include <oleauto.h>

#include <cmath>
#include <string>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {

std::optional<double> Win32Locale::TextToNumber(TextView text) const {
    // A zero would end the text early and let "60<zero>abc" pass as 60.
    if (text.empty() || text.find(u'\0') != TextView::npos) return std::nullopt;
    // Not const: MinGW declares the parameter OLECHAR*, MSVC LPCOLESTR.
    std::wstring wide = ToWide(text);
    double value = 0.0;
    if (FAILED(VarR8FromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &value))) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

Text Win32Locale::TimeToText(const TimeOfDay& time) const {
    if (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59 || time.second < 0 ||
        time.second > 59) {
        return {};
    }
    SYSTEMTIME when{};
    // Any valid date: only the time of day is formatted.
    when.wYear = 2000;
    when.wMonth = 1;
    when.wDay = 1;
    when.wHour = static_cast<WORD>(time.hour);
    when.wMinute = static_cast<WORD>(time.minute);
    when.wSecond = static_cast<WORD>(time.second);
    const int size = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &when, nullptr, nullptr, 0);
    if (size <= 0) return {};
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    const int written =
        GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &when, nullptr, out.data(), size);
    if (written <= 0) return {};
    out.resize(static_cast<std::size_t>(written) - 1);  // the count includes the zero
    return FromWide(out);
}

}  // namespace kestrova::win32

namespace kestrova::win32 {

Text Win32Locale::DateToText(const LocalTime& date) const {
    SYSTEMTIME when{};
    when.wYear = static_cast<WORD>(date.year);
    when.wMonth = static_cast<WORD>(date.month);
    when.wDay = static_cast<WORD>(date.day);
    if (date.year < 1601 || date.year > 30827 || date.month < 1 || date.month > 12 ||
        date.day < 1 || date.day > 31) {
        return {};
    }
    const int size = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr,
                                     nullptr, 0, nullptr);
    if (size <= 0) return {};
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    const int written = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr,
                                        out.data(), size, nullptr);
    if (written <= 0) return {};
    out.resize(static_cast<std::size_t>(written) - 1);
    return FromWide(out);
}

}  // namespace kestrova::win32
