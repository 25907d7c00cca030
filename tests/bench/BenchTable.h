// The pieces of the program that a refresh touches, built for real: a COM
// apartment, a shown window, the computer-name box and the adapter table.
// Also the WMI work of a refresh without the table, as a baseline.
#pragma once

#include <memory>

#include "platform/Text.h"
#include "platform/Wmi.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/DpiScale.h"
#include "platform/win32/Win32ListView.h"
#include "platform/win32/Win32TextBox.h"
#include "tests/bench/BenchCommon.h"

namespace kestrova::bench {

class BenchTable {
public:
    // Throws std::runtime_error when the apartment, window or controls
    // cannot be made: no figure would mean anything then.
    explicit BenchTable(TextView computerName);
    BenchTable(const BenchTable&) = delete;
    BenchTable& operator=(const BenchTable&) = delete;

    TextBox& computer() { return *computer_; }
    win32::Win32ListView& list() { return *list_; }
    HWND window() const { return window_.hwnd(); }

private:
    win32::ComApartment apartment_;  // first in, last out: WMI objects die inside it
    HostWindow window_;
    win32::DpiScale scale_;
    std::unique_ptr<win32::Win32TextBox> computer_;
    std::unique_ptr<win32::Win32ListView> list_;
};

struct SourcePass {
    bool ok = false;
    int adapters = 0;
    int valuesRead = 0;  // reads that delivered a value or null
};

// Bind, query, enumerate and read what a refresh reads of each adapter:
// MACAddress, Description, IPAddress[0..2], DefaultIPGateway[0],
// DNSServerSearchOrder[0..2], DHCPEnabled, DNSDomain, MTU, ServiceName.
// The result set is released before the service, as a refresh does.
SourcePass ReadAllAdapters(WmiConnector& wmi, TextView computerName);

}  // namespace kestrova::bench
