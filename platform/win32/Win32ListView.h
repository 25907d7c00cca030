// The adapter table: a report-view list view with one status light per row.
// It is a virtual list (LVS_OWNERDATA): the rows live in an AdapterTable and
// the control asks for each cell as it paints, so a refresh that changes
// nothing sends the control nothing, and one that changes a few rows
// repaints those rows alone. The control keeps the selection, the focus and
// the scroll position; when rows move, this wrapper moves them along with
// their adapters.
//
// Everything the list does for the user lives here: header clicks sort,
// changed rows are marked, Ctrl+A / Ctrl+C and the context menu copy, a tip
// tells a light's meaning, a cell's whole text and what changed on a marked
// row, and screen readers hear of what changed. The list hears its own
// notifications by subclassing its parent, so any window can host it.
//
// When the control cannot be created, hwnd() is null and every method
// quietly does nothing: the caller may be inside a window procedure, where
// an exception must not go.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "inventory/AdapterTable.h"
#include "inventory/ListView.h"
#include "platform/win32/ChildControl.h"
#include "platform/win32/RowNames.h"

namespace kestrova::win32 {

class CellTip;

class Win32ListView final : public ListView, public ChildControl {
public:
    Win32ListView(HWND parent, int controlId, const ControlPlace& place, const DpiScale& scale);
    ~Win32ListView() override;

    // kestrova::ListView
    TableUpdate ShowRows(std::vector<AdapterRow> rows, const RefreshStamp& stamp,
                         bool complete) override;
    // A complete refresh while the window has never been in front.
    TableUpdate ShowRows(std::vector<AdapterRow> rows) { return ShowRows(std::move(rows), {}, true); }
    float Top() const override;
    void SetWidth(float twips) override;
    void SetHeight(float twips) override;

    // What the user does, also reachable by keys, clicks and the menu.
    void SortBy(int column);  // a click on the column's header
    void SelectAll();
    // Puts the header line and the selected rows, in the order shown, on the
    // clipboard. False when the clipboard could not be had; the handler set
    // by OnCopyFailed has then told the user.
    bool CopySelection();
    void OnCopyFailed(std::function<void()> tell) { copyFailed_ = std::move(tell); }
    // What "Changes..." in the context menu opens; greyed while unset.
    void OnShowChanges(std::function<void()> show) { showChanges_ = std::move(show); }
    // Where the seen clock is read when the view moves (a scroll, a resize,
    // a row brought into view), so that the time the rows were in view
    // counts for them. Unset, a move makes the time until the next refresh
    // count for no row.
    void ReadSeenWith(std::function<Presence()> read) { readSeen_ = std::move(read); }
    // F8 (Shift+F8: `back`): the keyboard focus to the table, and the next
    // marked row after the focused one focused, selected alone and brought
    // into view. False, and nothing done, when no row is marked.
    bool GoToChange(bool back);
    // Where the context menu opens for `screen`, or for the keyboard (-1, -1):
    // under the focused row, or at the list's corner when none is in view.
    POINT ContextMenuPoint(POINT screen) const;

    // Read-back for the window and tests; rows in the order shown.
    int GetItemCount() const;
    Text GetItemText(int row, int column) const;  // column 0 is the row's text
    std::optional<Text> KeyOf(int row) const;
    int GetSmallIcon(int row) const;  // 1-based; 0 when the row does not exist
    bool IsHighlighted(int row) const;
    const RowMark* MarkOf(int row) const;
    std::vector<int> GetSelectedRows() const;
    int GetFocusedRow() const;  // -1 when none
    // The rows in view, wholly or partly, below the header.
    TableView ViewNow() const;
    Text GetColumnHeader(int column) const;
    int GetColumnWidth(int column) const;  // pixels
    const TableSort& Sort() const { return table_.Sort(); }
    // What the tip says at `client`: see RowTipAt.
    std::optional<Text> TipTextAt(POINT client) const;
    // What screen readers are told the rows are called; null until a reader
    // first asks (WM_GETOBJECT), and null again, for good, once the service
    // refused them or the list is gone.
    const RowNames* Names() const { return names_.get(); }
    // The annotation service the names take at a reader's first question,
    // instead of the system's: a test plays one that takes the server.
    void SetNamesService(RowNames::Service service) { namesService_ = std::move(service); }

    // Call after the shared DpiScale took the new DPI: the status lights are
    // rebuilt at the new size, and column widths scale from what they are
    // now, so widths the user dragged survive.
    void OnDpiChanged();
    // Changed rows take the high-contrast pair while this is on; the window
    // tells the list, and repaints it.
    void SetHighContrast(bool on) { highContrast_ = on; }

private:
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    bool Holds(int row) const;
    std::optional<LRESULT> OnNotify(NMHDR& header);  // from the parent
    std::optional<LRESULT> OnListMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnKeyDown(WPARAM key);
    void StartTip();
    void ShowContextMenu(POINT screen);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    void FillDisplayInfo(LVITEMW& item) const;
    int FindRow(const LVFINDINFOW& find, int start) const;

    void NameRows(const TableUpdate& update);
    void StartNames();
    void RefuseNames();
    std::vector<Text> RowNamesNow() const;
    void ShowSortArrows();
    void EnsureFocusVisible();
    // The view has moved under the user's hand or another program's: a
    // reading at once, so that the time until now counts for what it showed.
    void NoteViewMoved();
    std::optional<Presence> ReadSeen() const;

    HWND parent_;
    AdapterTable table_;
    unsigned columnsDpi_;  // the DPI the current column widths were set for
    std::function<void()> copyFailed_;
    std::function<void()> showChanges_;
    std::function<Presence()> readSeen_;
    TableView told_;               // the view last told to the table
    bool moving_ = false;          // the wrapper itself moves the rows: it tells the view
    mutable bool viewing_ = false;  // reading the view: the list's answers move nothing
    std::unique_ptr<CellTip> tip_;     // from the first pointer motion over the list
    RowNames::Service namesService_;   // empty: the system's
    std::unique_ptr<RowNames> names_;  // made when a reader first asks
    bool namesStarting_ = false;       // waiting in StartNames, which drops them
    bool namesRefused_ = false;        // the service failed: never again
    bool listGone_ = false;            // destroyed: no names to start
    bool highContrast_ = false;
};

}  // namespace kestrova::win32
