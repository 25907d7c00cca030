#include "inventory/AdapterRow.h"

#include "inventory/BoolText.h"

namespace kestrova {

namespace {
std::optional<Text> Cell(const Reading<Text>& r) {
    if (!r.present()) return std::nullopt;
    return r.value();
}
std::optional<Text> Cell(const Reading<bool>& r) {
    if (!r.present()) return std::nullopt;
    return BoolText(r.value());
}
std::optional<Text> Cell(const Reading<std::uint32_t>& r) {
    if (!r.present()) return std::nullopt;
    return DecimalText(r.value());
}
}  // namespace

std::optional<AdapterRow> BuildAdapterRow(const AdapterRecord& r) {
    if (r.MACAddress.failed()) return std::nullopt;

    AdapterRow row;
    if (r.MACAddress.present()) {
        row.text = r.MACAddress.value();
        // An empty key is no key: two adapters with an empty MAC text must
        // not shut each other out of the table.
        if (!row.text.empty()) row.key = row.text;
    }
    row.smallIcon = StatusOf(r);
    row.subItems = {
        Cell(r.Description),
        Cell(r.IPAddress[0]),
        Cell(r.DefaultIPGateway[0]),
        Cell(r.DNSServerSearchOrder[0]),
        Cell(r.DHCPEnabled),
        Cell(r.IPAddress[1]),
        Cell(r.IPAddress[2]),
        Cell(r.DNSServerSearchOrder[1]),
        Cell(r.DNSServerSearchOrder[2]),
        Cell(r.DNSDomain),
        Cell(r.MTU),
        Cell(r.ServiceName),
    };
    return row;
}

TextView CellText(const AdapterRow& row, int column) {
    if (column == 0) return row.text;
    if (column < 1 || column > kSubItemCount) return {};
    const std::optional<Text>& cell = row.subItems[static_cast<std::size_t>(column - 1)];
    return cell ? TextView(*cell) : TextView();
}

}  // namespace kestrova
