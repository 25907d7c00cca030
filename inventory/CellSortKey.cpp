#include "inventory/CellSortKey.h"

#include <algorithm>

namespace kestrova {

namespace {

// Groups, in sort order, within each kind.
constexpr std::uint8_t kIpv4 = 0, kIpv6 = 1, kNotAnAddress = 2;
constexpr std::uint8_t kNumber = 0, kNotANumber = 1;

Text Folded(TextView text) {
    Text out(text);
    for (char16_t& c : out) c = FoldedAscii(c);
    return out;
}

int DigitValue(char16_t c, int base) {
    int v = -1;
    if (c >= u'0' && c <= u'9') v = c - u'0';
    else if (c >= u'a' && c <= u'f') v = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
    return v < base ? v : -1;
}

// Four decimal parts of 0 to 255, written into out[0..3].
bool ParseIpv4(TextView text, std::uint8_t* out) {
    int part = 0;
    std::size_t i = 0;
    for (; part < 4; ++part) {
        if (part > 0) {
            if (i >= text.size() || text[i] != u'.') return false;
            ++i;
        }
        unsigned value = 0;
        std::size_t digits = 0;
        for (; i < text.size() && digits < 4 && DigitValue(text[i], 10) >= 0; ++i, ++digits) {
            value = value * 10 + static_cast<unsigned>(DigitValue(text[i], 10));
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        out[part] = static_cast<std::uint8_t>(value);
    }
    return i == text.size();
}

// Up to eight hexadecimal groups, one "::" for a run of zero groups, an IPv4
// address in the last 32 bits, and a "%zone" suffix, which is kept apart:
// link-local addresses of different adapters differ only there.
bool ParseIpv6(TextView text, std::array<std::uint8_t, 16>& out, Text& zone) {
    if (const std::size_t percent = text.find(u'%'); percent != TextView::npos) {
        zone = Folded(text.substr(percent + 1));
        text = text.substr(0, percent);
    }
    std::array<std::uint16_t, 8> groups{};
    int count = 0;
    int gapAt = -1;
    std::size_t i = 0;
    if (text.substr(0, 2) == u"::") {
        gapAt = 0;
        i = 2;
    } else if (!text.empty() && text[0] == u':') {
        return false;
    }
    while (i < text.size()) {
        if (count == 8) return false;
        // A dotted tail stands for the last two groups.
        const std::size_t end = text.find(u':', i);
        const TextView part = text.substr(i, end == TextView::npos ? TextView::npos : end - i);
        if (end == TextView::npos && part.find(u'.') != TextView::npos) {
            std::uint8_t v4[4];
            if (count > 6 || !ParseIpv4(part, v4)) return false;
            groups[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(v4[0] << 8 | v4[1]);
            groups[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(v4[2] << 8 | v4[3]);
            i = text.size();
            break;
        }
        if (part.empty() || part.size() > 4) return false;
        unsigned value = 0;
        for (char16_t c : part) {
            const int d = DigitValue(c, 16);
            if (d < 0) return false;
            value = value * 16 + static_cast<unsigned>(d);
        }
        groups[static_cast<std::size_t>(count++)] = static_cast<std::uint16_t>(value);
        if (end == TextView::npos) {
            i = text.size();
        } else if (text.substr(end, 2) == u"::") {
            if (gapAt >= 0) return false;
            gapAt = count;
            i = end + 2;
        } else {
            i = end + 1;
            if (i == text.size()) return false;  // a single trailing colon
        }
    }
    if (gapAt < 0 ? count != 8 : count == 8) return false;
    if (gapAt >= 0) {
        // Slide the groups after the gap to the end; zeros fill the gap.
        const int tail = count - gapAt;
        std::copy_backward(groups.begin() + gapAt, groups.begin() + count, groups.end());
        std::fill(groups.begin() + gapAt, groups.end() - tail, std::uint16_t{0});
    }
    for (std::size_t g = 0; g < 8; ++g) {
        out[2 * g] = static_cast<std::uint8_t>(groups[g] >> 8);
        out[2 * g + 1] = static_cast<std::uint8_t>(groups[g] & 0xFF);
    }
    return true;
}

// Decimal digits only, as the MTU's text form is; anything longer than a
// 64-bit value is no number.
bool ParseNumber(TextView text, std::array<std::uint8_t, 16>& out) {
    if (text.empty()) return false;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        const int d = DigitValue(c, 10);
        if (d < 0 || value > (UINT64_MAX - static_cast<unsigned>(d)) / 10) return false;
        value = value * 10 + static_cast<unsigned>(d);
    }
    for (int b = 0; b < 8; ++b) {
        out[static_cast<std::size_t>(15 - b)] = static_cast<std::uint8_t>(value >> (8 * b));
    }
    return true;
}

}  // namespace

ColumnKind KindOfColumn(int column) {
    switch (column) {
        case 2:  // IP
        case 3:  // Gateway
        case 4:  // DNS
        case 6:  // IP 2
        case 7:  // IP 3
        case 8:  // DNS 2
        case 9:  // DNS 3
            return ColumnKind::Address;
        case 11:  // MTU
            return ColumnKind::Number;
        default:
            return ColumnKind::Text;
    }
}

CellSortKey SortKeyOf(ColumnKind kind, TextView cell) {
    CellSortKey key;
    if (cell.empty()) return key;
    key.empty = false;
    switch (kind) {
        case ColumnKind::Address:
            if (ParseIpv4(cell, key.value.data() + 12)) {
                key.group = kIpv4;
            } else if (ParseIpv6(cell, key.value, key.text)) {
                key.group = kIpv6;
            } else {
                key.value = {};
                key.group = kNotAnAddress;
                key.text = Folded(cell);
            }
            break;
        case ColumnKind::Number:
            if (ParseNumber(cell, key.value)) {
                key.group = kNumber;
            } else {
                key.group = kNotANumber;
                key.text = Folded(cell);
            }
            break;
        case ColumnKind::Text:
            key.text = Folded(cell);
            break;
    }
    return key;
}

int Compare(const CellSortKey& a, const CellSortKey& b) {
    if (a.empty || b.empty) return 0;
    if (a.group != b.group) return a.group < b.group ? -1 : 1;
    if (a.value != b.value) return a.value < b.value ? -1 : 1;
    return a.text.compare(b.text);
}

}  // namespace kestrova
