// The core's text type. UTF-16 code units, so Windows' wide strings cross the
// platform edge without re-encoding and odd data (lone surrogates, embedded
// zeros) survives unchanged instead of being "repaired" on the way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

using Text = std::u16string;
using TextView = std::u16string_view;

// ASCII-only helpers; the core never needs a general transcoder.
Text AsciiToText(std::string_view ascii);
std::string TextToAscii(TextView text);  // non-ASCII units become '?'

// A-Z to a-z; every other unit as it is. Names, MAC addresses and the
// table's texts are compared this way: no locale, no surprises.
constexpr char16_t FoldedAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

Text DecimalText(std::uint64_t value);
Text HexText8(std::uint32_t value);  // eight upper-case hex digits, no prefix

}  // namespace kestrova
