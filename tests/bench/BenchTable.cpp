#include "tests/bench/BenchTable.h"

#include <stdexcept>
#include <variant>

#include "inventory/AdapterQuery.h"
#include "inventory/DisplayName.h"
#include "window/ControlTable.h"

namespace kestrova::bench {

namespace {

constexpr int kComputerId = 100;
constexpr int kTableId = 107;

bool Delivered(const WmiValue& value) {
    return !std::holds_alternative<WmiReadFailed>(value);
}

}  // namespace

BenchTable::BenchTable(TextView computerName) {
    if (!apartment_.ok()) throw std::runtime_error("cannot join a COM apartment");
    if (!window_.hwnd()) throw std::runtime_error("cannot create the host window");
    scale_.SetDpi(GetDpiForWindow(window_.hwnd()));
    computer_ = std::make_unique<win32::Win32TextBox>(
        window_.hwnd(), kComputerId, EntryOf(ControlId::txtComputer).place, scale_, computerName);
    list_ = std::make_unique<win32::Win32ListView>(window_.hwnd(), kTableId,
                                                   EntryOf(ControlId::Adaptors).place, scale_);
    if (!list_->hwnd()) throw std::runtime_error("cannot create the list view");
    UpdateWindow(window_.hwnd());
    PumpMessages();
}

SourcePass ReadAllAdapters(WmiConnector& wmi, TextView computerName) {
    SourcePass pass;
    auto services = wmi.Bind(DisplayName(computerName));
    if (!services) return pass;
    auto adapters = services.value()->ExecQuery(kAdapterQuery);
    if (!adapters) return pass;
    for (;;) {
        auto next = adapters.value()->Next();
        if (!next) return pass;
        if (!next.value()) break;
        WmiObject& adapter = *next.value();
        ++pass.adapters;
        auto count = [&pass](const WmiValue& value) {
            if (Delivered(value)) ++pass.valuesRead;
        };
        count(adapter.ReadProperty(property::MACAddress));
        count(adapter.ReadProperty(property::Description));
        for (std::int16_t i = 0; i < 3; ++i) count(adapter.ReadElement(property::IPAddress, i));
        count(adapter.ReadElement(property::DefaultIPGateway, 0));
        for (std::int16_t i = 0; i < 3; ++i) {
            count(adapter.ReadElement(property::DNSServerSearchOrder, i));
        }
        count(adapter.ReadProperty(property::DHCPEnabled));
        count(adapter.ReadProperty(property::DNSDomain));
        count(adapter.ReadProperty(property::MTU));
        count(adapter.ReadProperty(property::ServiceName));
    }
    pass.ok = true;
    return pass;
}

}  // namespace kestrova::bench
