#include "TableView.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwctype>

namespace kestrova::e2e {

namespace {

// Columns that hold addresses, and the MTU, counted from 0.
bool IsAddressColumn(int column) {
    return column == 2 || column == 3 || column == 4 || (column >= 6 && column <= 9);
}
constexpr int kMtuColumn = 11;

// Family (4 before 6, then text), the address bytes, the rest as text.
struct Key {
    int group = 0;
    std::array<unsigned char, 16> bytes{};
    unsigned long long number = 0;
    std::wstring text;
};

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

Key KeyOf(const std::wstring& cell, int column) {
    Key key;
    if (IsAddressColumn(column)) {
        const std::size_t zone = cell.find(L'%');
        const std::wstring address = cell.substr(0, zone);
        IN_ADDR v4{};
        IN6_ADDR v6{};
        if (InetPtonW(AF_INET, address.c_str(), &v4) == 1) {
            key.group = 0;
            std::copy_n(reinterpret_cast<const unsigned char*>(&v4), 4, key.bytes.begin());
        } else if (InetPtonW(AF_INET6, address.c_str(), &v6) == 1) {
            key.group = 1;
            std::copy_n(reinterpret_cast<const unsigned char*>(&v6), 16, key.bytes.begin());
            if (zone != std::wstring::npos) key.text = Lower(cell.substr(zone + 1));
        } else {
            key.group = 2;
            key.text = Lower(cell);
        }
        return key;
    }
    if (column == kMtuColumn && !cell.empty() &&
        cell.find_first_not_of(L"0123456789") == std::wstring::npos && cell.size() < 20) {
        key.number = std::stoull(cell);
        return key;
    }
    key.group = column == kMtuColumn ? 1 : 0;
    key.text = Lower(cell);
    return key;
}

int Compare(const Key& a, const Key& b) {
    if (a.group != b.group) return a.group < b.group ? -1 : 1;
    if (a.bytes != b.bytes) return a.bytes < b.bytes ? -1 : 1;
    if (a.number != b.number) return a.number < b.number ? -1 : 1;
    return a.text.compare(b.text);
}

}  // namespace

std::optional<TablePlace> PlaceOf(const RemoteList& list) {
    TablePlace place;
    place.rows = list.RowCount();
    const std::optional<LRESULT> top = list.Ask(LVM_GETTOPINDEX, 0, 0);
    const std::optional<LRESULT> focused =
        list.Ask(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0));
    if (place.rows < 0 || !top || !focused) return std::nullopt;
    place.topIndex = static_cast<int>(*top);
    place.top = list.Cell(place.topIndex, 0).value_or(L"");
    if (*focused >= 0) place.focused = list.Cell(static_cast<int>(*focused), 0).value_or(L"");
    for (LRESULT row = -1;;) {
        const std::optional<LRESULT> next =
            list.Ask(LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0));
        if (!next || *next < 0) break;
        row = *next;
        place.selected.push_back(list.Cell(static_cast<int>(row), 0).value_or(L""));
    }
    // Another process cannot read the list's scroll bar; the top row's left
    // edge tells how far the view went sideways.
    if (place.rows > 0) {
        const std::optional<RECT> bounds = list.ItemClientRect(place.topIndex, LVIR_BOUNDS);
        if (!bounds) return std::nullopt;
        place.scrollX = -bounds->left;
    }
    return place;
}

std::optional<std::wstring> SortFault(const std::vector<std::vector<std::wstring>>& rows,
                                      int column, bool ascending,
                                      const std::vector<std::wstring>& wmiOrder) {
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);  // InetPtonW wants Winsock started
    const auto wmiIndex = [&](const std::wstring& first) {
        return std::find(wmiOrder.begin(), wmiOrder.end(), first) - wmiOrder.begin();
    };
    std::optional<std::wstring> fault;
    for (std::size_t i = 1; i < rows.size() && !fault; ++i) {
        const std::wstring& a = rows[i - 1][static_cast<std::size_t>(column)];
        const std::wstring& b = rows[i][static_cast<std::size_t>(column)];
        const std::wstring pair = L"rows " + std::to_wstring(i) + L" and " + std::to_wstring(i + 1) +
                                  L" ('" + a + L"', '" + b + L"')";
        if (a.empty() || b.empty()) {
            if (a.empty() && !b.empty()) fault = pair + L": an empty cell before a filled one";
            if (a.empty() && b.empty() && wmiIndex(rows[i - 1][0]) > wmiIndex(rows[i][0])) {
                fault = pair + L": empty cells out of WMI's order";
            }
            continue;
        }
        const int c = Compare(KeyOf(a, column), KeyOf(b, column));
        if (ascending ? c > 0 : c < 0) fault = pair + L": out of order";
        if (c == 0 && wmiIndex(rows[i - 1][0]) > wmiIndex(rows[i][0])) {
            fault = pair + L": equal cells out of WMI's order";
        }
    }
    WSACleanup();
    return fault;
}

}  // namespace kestrova::e2e
