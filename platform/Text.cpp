#include "platform/Text.h"

namespace kestrova {

Text AsciiToText(std::string_view ascii) {
    Text out;
    out.reserve(ascii.size());
    for (char c : ascii) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return out;
}

std::string TextToAscii(TextView text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

Text DecimalText(std::uint64_t value) {
    char16_t buf[20];
    int n = 0;
    do {
        buf[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    Text out;
    while (n > 0) out.push_back(buf[--n]);
    return out;
}

Text HexText8(std::uint32_t value) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    Text out(8, u'0');
    for (int i = 7; i >= 0; --i) {
        out[static_cast<size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return out;
}

}  // namespace kestrova
