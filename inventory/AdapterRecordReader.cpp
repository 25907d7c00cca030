#include "inventory/AdapterRecordReader.h"

#include <cstddef>
#include <type_traits>

#include "inventory/AdapterQuery.h"
#include "inventory/BoolText.h"

namespace kestrova {

Reading<Text> TextReading(const WmiValue& value) {
    return std::visit(
        [](const auto& v) -> Reading<Text> {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, WmiReadFailed>) {
                return Reading<Text>::Failed();
            } else if constexpr (std::is_same_v<V, WmiNull>) {
                return Reading<Text>::Null();
            } else if constexpr (std::is_same_v<V, Text>) {
                return Reading<Text>::Of(v);
            } else if constexpr (std::is_same_v<V, bool>) {
                return Reading<Text>::Of(BoolText(v));
            } else {
                static_assert(std::is_same_v<V, std::int64_t>);
                Text digits = DecimalText(v < 0 ? 0 - static_cast<std::uint64_t>(v)
                                                : static_cast<std::uint64_t>(v));
                return Reading<Text>::Of(v < 0 ? u"-" + digits : digits);
            }
        },
        value);
}

Reading<bool> BoolReading(const WmiValue& value) {
    if (std::holds_alternative<bool>(value)) return Reading<bool>::Of(std::get<bool>(value));
    if (std::holds_alternative<WmiNull>(value)) return Reading<bool>::Null();
    return Reading<bool>::Failed();
}

Reading<std::uint32_t> UInt32Reading(const WmiValue& value) {
    if (std::holds_alternative<WmiNull>(value)) return Reading<std::uint32_t>::Null();
    if (!std::holds_alternative<std::int64_t>(value)) return Reading<std::uint32_t>::Failed();
    const std::int64_t v = std::get<std::int64_t>(value);
    if (v < INT32_MIN || v > static_cast<std::int64_t>(UINT32_MAX)) {
        return Reading<std::uint32_t>::Failed();
    }
    return Reading<std::uint32_t>::Of(static_cast<std::uint32_t>(v));
}

AdapterRecord ReadAdapterRecord(WmiObject& adapter) {
    AdapterRecord r;
    auto elements = [&adapter](auto& field, TextView name) {
        for (std::size_t i = 0; i < field.size(); ++i) {
            field[i] = TextReading(adapter.ReadElement(name, static_cast<std::int16_t>(i)));
        }
    };
    r.MACAddress = TextReading(adapter.ReadProperty(property::MACAddress));
    r.Description = TextReading(adapter.ReadProperty(property::Description));
    elements(r.IPAddress, property::IPAddress);
    elements(r.DefaultIPGateway, property::DefaultIPGateway);
    elements(r.DNSServerSearchOrder, property::DNSServerSearchOrder);
    r.DHCPEnabled = BoolReading(adapter.ReadProperty(property::DHCPEnabled));
    r.DNSDomain = TextReading(adapter.ReadProperty(property::DNSDomain));
    r.MTU = UInt32Reading(adapter.ReadProperty(property::MTU));
    r.ServiceName = TextReading(adapter.ReadProperty(property::ServiceName));
    return r;
}

}  // namespace kestrova
