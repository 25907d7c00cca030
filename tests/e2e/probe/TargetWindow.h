// Kestrova's running window as another process sees it: found by its class,
// its controls by their ids, list-view contents read through the owner's
// memory because list-view messages carry pointers that only mean something
// inside the process that owns the control.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "window/ControlTable.h"

namespace kestrova::e2e {

// Visible main windows of Kestrova under this wineserver.
std::vector<HWND> FindMainWindows();

HWND ControlOf(HWND main, ControlId id);
std::optional<ControlId> ControlNamed(const std::wstring& name);

// Fails (nullopt) when the window does not answer within a few seconds, so a
// hung program shows up as a failure, not as a hung probe.
std::optional<std::wstring> TextOf(HWND hwnd);
bool SetTextOf(HWND hwnd, const std::wstring& text);

// A rectangle relative to the parent's client area, or to the screen.
RECT RectInParent(HWND child);
RECT ScreenRect(HWND hwnd);

struct HeaderColumn {
    std::wstring text;
    int width = 0;
};

class RemoteList {
public:
    explicit RemoteList(HWND list);
    ~RemoteList();
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    bool Ready() const { return remote_ != nullptr; }
    int RowCount() const;
    std::optional<HeaderColumn> Column(int column) const;
    std::optional<std::wstring> Cell(int row, int column) const;
    std::vector<std::vector<std::wstring>> Rows(int columns) const;
    // `part` is LVIR_ICON, LVIR_LABEL, ...; screen coordinates.
    std::optional<RECT> ItemScreenRect(int row, int part) const;
    std::optional<RECT> ItemClientRect(int row, int part) const;
    // The header's item `column`, in screen coordinates, and its format
    // flags (HDF_SORTUP, HDF_SORTDOWN, ...).
    std::optional<RECT> HeaderScreenRect(int column) const;
    std::optional<int> HeaderFormat(int column) const;
    // A message that carries no pointer, answered within the probe's limit.
    std::optional<LRESULT> Ask(UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    HWND Header() const;
    bool Send(UINT message, WPARAM wParam, LRESULT* result) const;
    bool SendTo(HWND target, UINT message, WPARAM wParam, LRESULT* result) const;
    bool Write(std::size_t offset, const void* data, std::size_t size) const;
    bool Read(std::size_t offset, void* data, std::size_t size) const;

    HWND list_;
    HANDLE process_ = nullptr;
    char* remote_ = nullptr;
};

}  // namespace kestrova::e2e
