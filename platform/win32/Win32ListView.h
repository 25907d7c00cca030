// The adapter table: a report-view list view with one status light per row.
// Each row carries its key in lParam, as an id into a table kept here, so a
// row's key reads back from the control itself and a duplicate is refused
// without scanning the rows. When the control cannot be created, hwnd() is
// null and every method quietly does nothing: the caller may be inside a
// window procedure, where an exception must not go.
#pragma once

#include <windows.h>

#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/ListView.h"
#include "platform/win32/ChildControl.h"

namespace kestrova::win32 {

class Win32ListView final : public ListView, public ChildControl {
public:
    Win32ListView(HWND parent, int controlId, const ControlPlace& place, const DpiScale& scale);

    // kestrova::ListView
    void SetRedraw(bool redraw) override;
    void DeleteAllItems() override;
    std::optional<int> InsertItem(const std::optional<Text>& key, TextView text,
                                  int smallIcon) override;
    bool SetItemText(int row, int subItem, TextView text) override;
    float Top() const override;
    void SetWidth(float twips) override;
    void SetHeight(float twips) override;

    // Read-back for the clipboard, the window and tests.
    int GetItemCount() const;
    Text GetItemText(int row, int column) const;  // column 0 is the row's text
    std::optional<Text> KeyOf(int row) const;
    int GetSmallIcon(int row) const;  // 1-based; 0 when the row does not exist
    std::vector<int> GetSelectedRows() const;
    void SelectAll();
    Text GetColumnHeader(int column) const;
    int GetColumnWidth(int column) const;  // pixels

    // Call after the shared DpiScale took the new DPI: the status lights are
    // rebuilt at the new size, and column widths scale from what they are
    // now, so widths the user dragged survive.
    void OnDpiChanged();

private:
    // Ids in lParam start at 1; 0 marks a row without a key.
    LPARAM KeyIdOf(int row) const;

    unsigned columnsDpi_;     // the DPI the current column widths were set for
    std::vector<Text> keys_;  // keys_[id - 1]
    std::unordered_map<Text, LPARAM> keyIds_;
};

}  // namespace kestrova::win32
