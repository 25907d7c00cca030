#include "inventory/ChangeText.h"

#include "inventory/AdapterColumns.h"

namespace kestrova {

namespace {

constexpr TextView kArrow = u" \u2192 ";
constexpr int kFirstAddressColumn = 2;  // IP; IP 2 and IP 3 follow as 6 and 7
constexpr int kAddressColumns[] = {kFirstAddressColumn, 6, 7};

// Each light's words, by AdapterStatus - 1: the short name a change reads
// with, and the whole meaning a tip or a screen reader gives.
struct LightWords {
    TextView name;
    TextView meaning;
};
constexpr LightWords kLightWords[] = {
    {u"green", u"green, gateway and DNS server"},
    {u"yellow, no DNS server", u"yellow, gateway but no DNS server"},
    {u"red, no default gateway", u"red, no default gateway"},
};

const LightWords* WordsOf(AdapterStatus light) {
    const int index = static_cast<int>(light) - 1;
    return index >= 0 && index < 3 ? &kLightWords[index] : nullptr;
}

TextView LightName(AdapterStatus light) {
    const LightWords* words = WordsOf(light);
    return words ? words->name : TextView(u"unknown");
}

Text Shown(TextView value) {
    return value.empty() ? Text(u"none") : Text(value);
}

}  // namespace

TextView LightMeaning(AdapterStatus light) {
    const LightWords* words = WordsOf(light);
    return words ? words->meaning : TextView(u"unknown");
}

Text AccessibleRowName(const AdapterRow& row) {
    const Text mac = row.text.empty() ? Text(u"No MAC address") : row.text;
    return mac + u", light " + Text(LightMeaning(row.smallIcon));
}

Text DescribeCell(const CellChange& cell) {
    const auto column = static_cast<std::size_t>(cell.column);
    const TextView header = column < kAdapterColumns.size() ? kAdapterColumns[column].header
                                                            : TextView(u"?");
    return Text(header) + u": " + Shown(cell.before) + Text(kArrow) + Shown(cell.after);
}

Text DescribeLight(AdapterStatus before, AdapterStatus after) {
    return u"Light: " + Text(LightName(before)) + Text(kArrow) + Text(LightName(after));
}

Text AddressesOf(const AdapterRow& row) {
    Text addresses;
    for (int column : kAddressColumns) {
        const TextView address = CellText(row, column);
        if (address.empty()) continue;
        if (!addresses.empty()) addresses += u", ";
        addresses += address;
    }
    return addresses.empty() ? Text(u"no address") : addresses;
}

std::vector<Text> DescribeChange(const RowChange& change) {
    switch (change.kind) {
        case RowChange::Kind::Came:
            return {u"Came with " + AddressesOf(change.row) + u"; light " +
                    Text(LightName(change.row.smallIcon))};
        case RowChange::Kind::Went:
            return {u"Went; last addresses: " + AddressesOf(change.row)};
        case RowChange::Kind::Changed:
            break;
    }
    std::vector<Text> lines;
    for (const CellChange& cell : change.cells) lines.push_back(DescribeCell(cell));
    if (change.lightBefore) lines.push_back(DescribeLight(*change.lightBefore, change.row.smallIcon));
    return lines;
}

Text DescribeMarks(const std::vector<MarkedChange>& history, const WhenFormat& when) {
    Text tip;
    for (const MarkedChange& marked : history) {
        if (!tip.empty()) tip += u"\n\n";
        const bool came = marked.change.kind == RowChange::Kind::Came;
        tip += (came ? u"Came at " : u"Changed at ") + when(marked.when);
        if (came) continue;
        for (const Text& line : DescribeChange(marked.change)) tip += u"\n" + line;
    }
    return tip;
}

}  // namespace kestrova
