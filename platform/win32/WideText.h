// Between the core's UTF-16 text and Windows' wide strings. Both are UTF-16
// on Windows, so this is a copy, never a re-encoding.
#pragma once

#include <string>
#include <string_view>

#include "platform/Text.h"

namespace kestrova::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline std::wstring ToWide(TextView text) { return std::wstring(text.begin(), text.end()); }

inline Text FromWide(std::wstring_view wide) { return Text(wide.begin(), wide.end()); }

inline Text FromWide(const wchar_t* wide) {
    return wide ? FromWide(std::wstring_view(wide)) : Text();
}

}  // namespace kestrova::win32
