#include "platform/win32/Win32ListView.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "inventory/AdapterColumns.h"
#include "inventory/ChangeText.h"
#include "inventory/StatusImages.h"
#include "platform/win32/AdapterListWindow.h"
#include "platform/win32/CellTip.h"
#include "platform/win32/ChangedRowColours.h"
#include "platform/win32/Clipboard.h"
#include "platform/win32/ListInView.h"
#include "platform/win32/ListPlace.h"
#include "platform/win32/ListSync.h"
#include "platform/win32/RowEvents.h"
#include "platform/win32/RowNames.h"
#include "platform/win32/RowTip.h"
#include "platform/win32/StatusImageList.h"
#include "platform/win32/TableMenu.h"
#include "platform/win32/WideText.h"
#include "window/SelectionText.h"

namespace kestrova::win32 {
namespace {

constexpr int kColumnCount = static_cast<int>(kAdapterColumns.size());
constexpr int kTipMaxWidth = 480;  // pixels at 96 DPI; longer tips wrap

// The ids readers ask the list for: the client and window objects, and UI
// Automation's root. Other ids come from other clients (the native object
// model, a class name's index). A 64-bit lParam may carry the 32-bit id
// sign- or zero-extended.
bool ReaderAsks(LPARAM lParam) {
    constexpr LONG kUiaRootObjectId = -25;  // UiaRootObjectId
    const auto id = static_cast<LONG>(static_cast<DWORD>(lParam));
    return id == OBJID_CLIENT || id == OBJID_WINDOW || id == kUiaRootObjectId;
}

}  // namespace

Win32ListView::Win32ListView(HWND parent, int controlId, const ControlPlace& place,
                             const DpiScale& scale)
    : ChildControl(CreateAdapterList(parent, controlId, scale), place, scale),
      parent_(parent),
      columnsDpi_(scale.Dpi()) {
    if (!hwnd()) return;
    // A virtual list sends its questions to its parent; the subclass id
    // tells this list's subclass apart from another list's on the same parent.
    SetWindowSubclass(parent_, &Win32ListView::ParentProc, reinterpret_cast<UINT_PTR>(this),
                      reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(hwnd(), &Win32ListView::ListProc, 0, reinterpret_cast<DWORD_PTR>(this));
    // The tip comes with the first pointer motion over the list, the names
    // with the first reader's question (see OnListMessage): the first paint
    // shows neither.
}

Win32ListView::~Win32ListView() {
    // The parent may be gone already; then its subclass went with it.
    if (parent_ && IsWindow(parent_)) {
        RemoveWindowSubclass(parent_, &Win32ListView::ParentProc, reinterpret_cast<UINT_PTR>(this));
    }
    if (hwnd() && IsWindow(hwnd())) RemoveWindowSubclass(hwnd(), &Win32ListView::ListProc, 0);
}

TableUpdate Win32ListView::ShowRows(std::vector<AdapterRow> rows, const RefreshStamp& stamp,
                                    bool complete) {
    moving_ = true;
    // Another program can empty the control behind the table's back
    // (LVM_DELETEALLITEMS); one count compared per refresh finds it.
    const bool lost = hwnd() && GetItemCount() != table_.Count();
    // The view is read twice: before the rows change, where the time in
    // view ends in the old order, and once the control has moved its top
    // row, where the next begins; a refresh that changed nothing moved
    // nothing, and one reading serves both. Where the time in view can count
    // for no mark (none is marked, or all wait for input that has not come),
    // the view last told stands for it: each message to the control costs a
    // round of the window manager, under Wine about a tenth of a millisecond.
    const TableView before = table_.ViewCounts(stamp.presence) ? ViewNow() : told_;
    TableUpdate update = table_.Replace(std::move(rows), stamp, complete, before);
    if (lost) {
        ResyncList(hwnd(), table_.Count());
    } else {
        SyncList(hwnd(), update);
    }
    moving_ = false;
    told_ = lost || !update.Nothing() ? ViewNow() : before;
    table_.Viewed(stamp.presence, told_, told_);
    NameRows(update);
    RaiseRowEvents(hwnd(), update);
    // The row under a resting pointer may be another one now.
    if (tip_ && (lost || !update.Nothing())) tip_->Refresh();
    return update;
}

void Win32ListView::SortBy(int column) {
    if (column < 0 || column >= kColumnCount) return;
    // One reading serves both ends: the time in view ends in the old order
    // and starts again in the new one at the same moment.
    const std::optional<Presence> seen = ReadSeen();
    table_.Viewed(seen, told_, ViewNow());
    moving_ = true;
    const TableUpdate update = table_.SortBy(column);
    SyncList(hwnd(), update);
    ShowSortArrows();
    EnsureFocusVisible();
    moving_ = false;
    told_ = ViewNow();
    table_.Viewed(seen, told_, told_);
    NameRows(update);
    RaiseRowEvents(hwnd(), update);
    if (tip_) tip_->Refresh();
}

// A row's name is its MAC address and its light: it changes only with a
// light, a new adapter or a new order, and an unchanged refresh rebuilds
// nothing. The names, and oleacc with them, come when a reader first asks
// (see OnListMessage), not with the window or the rows: most users run no
// reader, and rows, their events and the lights' tips need no names.
void Win32ListView::NameRows(const TableUpdate& update) {
    if (!names_) return;
    // A start that outlasted its wait and failed after has ended its
    // thread; its names go here.
    if (!namesStarting_ && names_->Failed()) {
        RefuseNames();
    } else if (update.reordered || !update.lightChanged.empty()) {
        names_->Replace(RowNamesNow());
    }
}

void Win32ListView::StartNames() {
    if (names_ || namesRefused_ || !hwnd() || listGone_) return;
    names_ = namesService_ ? std::make_unique<RowNames>(hwnd(), namesService_)
                           : std::make_unique<RowNames>(hwnd());
    // The start waits until the service holds the server, so the reader's
    // first question already finds each row's light in its name.
    names_->Replace(RowNamesNow());
    // The wait answers what is sent to this thread: a second WM_GETOBJECT
    // finds names_ made, and a list destroyed meanwhile leaves the names to
    // go here rather than under the wait's feet (see ListProc).
    namesStarting_ = true;
    const bool started = names_->Start();
    namesStarting_ = false;
    if (!started) {
        RefuseNames();
    } else if (listGone_) {
        names_.reset();
    }
}

void Win32ListView::RefuseNames() {
    names_.reset();
    namesRefused_ = true;
}

std::vector<Text> Win32ListView::RowNamesNow() const {
    std::vector<Text> names;
    names.reserve(static_cast<std::size_t>(table_.Count()));
    for (int row = 0; row < table_.Count(); ++row) {
        names.push_back(AccessibleRowName(table_.Row(row)));
    }
    return names;
}

// After a sort the user looks for the row they were on.
void Win32ListView::EnsureFocusVisible() {
    int row = GetFocusedRow();
    if (row < 0) {
        const std::vector<int> selected = GetSelectedRows();
        if (!selected.empty()) row = selected.front();
    }
    if (row >= 0) SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void Win32ListView::ShowSortArrows() {
    const auto header = reinterpret_cast<HWND>(SendMessageW(hwnd(), LVM_GETHEADER, 0, 0));
    if (!header) return;
    const TableSort& sort = table_.Sort();
    for (int column = 0; column < kColumnCount; ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column),
                          reinterpret_cast<LPARAM>(&item))) {
            continue;
        }
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == sort.column) {
            item.fmt |= sort.direction == SortDirection::Descending ? HDF_SORTDOWN : HDF_SORTUP;
        }
        SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&item));
    }
}

float Win32ListView::Top() const {
    return place().top;
}

void Win32ListView::SetWidth(float twips) {
    SetWidthTwips(twips);
}

void Win32ListView::SetHeight(float twips) {
    SetHeightTwips(twips);
}

// What the control holds: the rows of the table while the control lives.
int Win32ListView::GetItemCount() const {
    return static_cast<int>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0));
}

bool Win32ListView::Holds(int row) const {
    return row >= 0 && row < table_.Count() && row < GetItemCount();
}

Text Win32ListView::GetItemText(int row, int column) const {
    if (!Holds(row)) return {};
    return Text(CellText(table_.Row(row), column));
}

std::optional<Text> Win32ListView::KeyOf(int row) const {
    if (!Holds(row)) return std::nullopt;
    return table_.Row(row).key;
}

int Win32ListView::GetSmallIcon(int row) const {
    if (!Holds(row)) return 0;
    return static_cast<int>(table_.Row(row).smallIcon);
}

bool Win32ListView::IsHighlighted(int row) const {
    return Holds(row) && table_.Highlighted(row);
}

const RowMark* Win32ListView::MarkOf(int row) const {
    return Holds(row) ? &table_.Mark(row) : nullptr;
}

std::vector<int> Win32ListView::GetSelectedRows() const {
    if (!hwnd()) return {};
    return ListPlace::Of(hwnd()).selected;
}

int Win32ListView::GetFocusedRow() const {
    if (!hwnd()) return -1;
    return static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_FOCUSED, 0)));
}

TableView Win32ListView::ViewNow() const {
    if (!hwnd()) return {};
    // The list's answers move nothing: not looked at for moves. The table's
    // rows: where the control holds fewer, a refresh is about to show them
    // all again.
    viewing_ = true;
    const TableView view = RowsInView(hwnd(), table_.Count());
    viewing_ = false;
    return view;
}

std::optional<Presence> Win32ListView::ReadSeen() const {
    if (!readSeen_) return std::nullopt;
    return readSeen_();
}

void Win32ListView::NoteViewMoved() {
    if (moving_ || viewing_ || listGone_ || !hwnd()) return;
    const TableView now = ViewNow();
    if (now == told_) return;
    table_.Viewed(ReadSeen(), told_, now);
    told_ = now;
}

bool Win32ListView::GoToChange(bool back) {
    if (!hwnd()) return false;
    const int row = table_.NextMarked(GetFocusedRow(), back);
    if (row < 0) return false;
    SetFocus(hwnd());
    // As a click leaves it: that row alone selected, and focused, so the
    // control itself raises the focus event that screen readers follow.
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&none));
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(hwnd(), LVM_SETSELECTIONMARK, 0, row);
    // A scroll this brings is read like any other, as it comes.
    SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    return true;
}

void Win32ListView::SelectAll() {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    // Row -1 means every row.
    SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

bool Win32ListView::CopySelection() {
    const std::vector<int> selected = GetSelectedRows();
    if (selected.empty()) return true;  // nothing to copy leaves the clipboard alone

    TableRowTexts headers;
    for (int column = 0; column < kColumnCount; ++column) {
        headers.push_back(GetColumnHeader(column));
    }
    std::vector<TableRowTexts> rows;
    rows.reserve(selected.size());
    for (int row : selected) {
        TableRowTexts cells;
        for (int column = 0; column < kColumnCount; ++column) {
            cells.push_back(GetItemText(row, column));
        }
        rows.push_back(std::move(cells));
    }
    if (PutOnClipboard(parent_, SelectionText(headers, rows))) return true;
    if (copyFailed_) {
        copyFailed_();
    } else {
        MessageBeep(MB_ICONWARNING);
    }
    return false;
}

Text Win32ListView::GetColumnHeader(int column) const {
    std::array<wchar_t, 512> buffer{};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = buffer.data();
    info.cchTextMax = static_cast<int>(buffer.size());
    if (!SendMessageW(hwnd(), LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                      reinterpret_cast<LPARAM>(&info))) {
        return {};
    }
    return FromWide(info.pszText);
}

int Win32ListView::GetColumnWidth(int column) const {
    return static_cast<int>(
        SendMessageW(hwnd(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

std::optional<Text> Win32ListView::TipTextAt(POINT client) const {
    if (GetItemCount() != table_.Count()) return std::nullopt;
    return RowTipAt(hwnd(), table_, client, scale());
}

POINT Win32ListView::ContextMenuPoint(POINT screen) const {
    if (screen.x != -1 || screen.y != -1) return screen;
    RECT client{};
    GetClientRect(hwnd(), &client);
    POINT at{client.left, client.top};
    const int focused = GetFocusedRow();
    RECT row{};
    row.left = LVIR_LABEL;
    if (focused >= 0 && SendMessageW(hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                                      reinterpret_cast<LPARAM>(&row))) {
        RECT visible{};
        if (IntersectRect(&visible, &row, &client)) at = {row.left, row.bottom};
    }
    ClientToScreen(hwnd(), &at);
    return at;
}

void Win32ListView::ShowContextMenu(POINT screen) {
    const bool anySelected = SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                          MAKELPARAM(LVNI_SELECTED, 0)) >= 0;
    switch (ShowTableMenu(hwnd(), ContextMenuPoint(screen),
                          {anySelected, GetItemCount() > 0, table_.NextMarked(-1, false) >= 0,
                           static_cast<bool>(showChanges_)})) {
        case TableMenuChoice::Copy: CopySelection(); break;
        case TableMenuChoice::SelectAll: SelectAll(); break;
        case TableMenuChoice::NextChange: GoToChange(false); break;
        case TableMenuChoice::Changes: showChanges_(); break;
        case TableMenuChoice::None: break;
    }
}

void Win32ListView::OnDpiChanged() {
    if (!hwnd()) return;
    const unsigned dpi = scale().Dpi();
    if (dpi != columnsDpi_) {
        for (int column = 0; column < kColumnCount; ++column) {
            const int width = MulDiv(GetColumnWidth(column), static_cast<int>(dpi),
                                     static_cast<int>(columnsDpi_));
            SendMessageW(hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                         MAKELPARAM(width, 0));
        }
        columnsDpi_ = dpi;
    }
    BindStatusImages(hwnd(), scale().Scale96(kStatusImageSize));
    if (tip_) tip_->OnDpiChanged(scale().Scale96(kTipMaxWidth));
    ApplyPlace();
}

// ---- messages --------------------------------------------------------------

LRESULT CALLBACK Win32ListView::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self) {
    auto* list = reinterpret_cast<Win32ListView*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &Win32ListView::ParentProc, id);
        list->parent_ = nullptr;
    } else if (message == WM_NOTIFY && list->hwnd()) {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom == list->hwnd()) {
            // No exception may leave a window procedure; the only one that
            // can arise here is running out of memory, and then the list
            // does what it would do without us.
            try {
                if (const std::optional<LRESULT> result = list->OnNotify(header)) return *result;
            } catch (...) {
            }
        }
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Win32ListView::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self) {
    auto* list = reinterpret_cast<Win32ListView*>(self);
    try {
        if (const std::optional<LRESULT> result = list->OnListMessage(message, wParam, lParam)) {
            return *result;
        }
    } catch (...) {
        // As in ParentProc: out of memory, and the list goes on by itself.
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &Win32ListView::ListProc, id);
        list->tip_.reset();  // its tool was this window
        list->listGone_ = true;
        if (!list->namesStarting_) list->names_.reset();
    }
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    // Scrolled by the wheel, the bars or the keys: the pointer rests on
    // another row now, and the tip must not show the old one's text.
    if (list->tip_ && (message == WM_MOUSEWHEEL || message == WM_VSCROLL ||
                       message == WM_HSCROLL || message == WM_KEYDOWN)) {
        list->tip_->Refresh();
    }
    // Whatever moved the view (the wheel, the bars, keys, a click on a row
    // cut off, a drag, a resize, another program's LVM_ENSUREVISIBLE), it
    // moved inside one of the list's own messages: looked at after each but
    // those that only paint, point or answer.
    try {
        if (!MovesNoView(message, wParam)) list->NoteViewMoved();
    } catch (...) {
        // Out of memory: the stretch counts for no row, as an unread move.
    }
    return result;
}

std::optional<LRESULT> Win32ListView::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            if (OnKeyDown(wParam)) return 0;
            break;
        case WM_CONTEXTMENU:
            // The header passes its own right-clicks up here; rows are not
            // what the user pointed at then.
            if (reinterpret_cast<HWND>(wParam) != hwnd()) break;
            ShowContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_GETOBJECT:
            // A reader is here: the names must be in place before it asks
            // for a row's. The list answers the message itself, unless it
            // was destroyed while the names started.
            if (ReaderAsks(lParam)) StartNames();
            if (listGone_) return 0;
            break;
        case WM_MOUSEMOVE: {
            const bool first = !tip_;
            if (first) StartTip();
            if (!tip_) break;
            tip_->OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            // The tooltip watches the list's mouse messages from its creation
            // on; the move that made it is handed to it, so a pointer that
            // comes to rest at once still gets its tip.
            if (first) tip_->Relay(message, wParam, lParam);
            break;
        }
        case WM_NOTIFY:
            if (tip_) return tip_->OnNotify(*reinterpret_cast<NMHDR*>(lParam));
            break;
        default:
            break;
    }
    return std::nullopt;
}

void Win32ListView::StartTip() {
    tip_ = std::make_unique<CellTip>(hwnd(), [this](POINT at) { return TipTextAt(at); });
    tip_->OnDpiChanged(scale().Scale96(kTipMaxWidth));
}

bool Win32ListView::OnKeyDown(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (!control || alt) return false;
    if (key == 'A') {
        SelectAll();
        return true;
    }
    if (key == 'C' || key == VK_INSERT) {
        CopySelection();
        return true;
    }
    return false;
}

std::optional<LRESULT> Win32ListView::OnNotify(NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW:
            FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header).item);
            return 0;
        case LVN_ODFINDITEMW: {
            const auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
            return FindRow(find.lvfi, find.iStart);
        }
        case NM_CUSTOMDRAW:
            return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        case LVN_COLUMNCLICK:
            SortBy(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
            return 0;
        default:
            return std::nullopt;
    }
}

void Win32ListView::FillDisplayInfo(LVITEMW& item) const {
    if (item.iItem < 0 || item.iItem >= table_.Count()) return;
    const AdapterRow& row = table_.Row(item.iItem);
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText && item.cchTextMax > 0) {
        const TextView text = CellText(row, item.iSubItem);
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        std::copy_n(text.data(), n, item.pszText);
        item.pszText[n] = L'\0';
    }
    if ((item.mask & LVIF_IMAGE) != 0 && item.iSubItem == 0) {
        item.iImage = static_cast<int>(row.smallIcon) - 1;
    }
}

// Typing in the list jumps to the next row whose MAC address starts with
// what was typed, round to the top as in any list; a search for a whole MAC
// address wraps only when asked to.
int Win32ListView::FindRow(const LVFINDINFOW& find, int start) const {
    if ((find.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || !find.psz) return -1;
    const bool partial = (find.flags & LVFI_PARTIAL) != 0;
    return table_.Find(FromWide(find.psz), start, partial,
                       partial || (find.flags & LVFI_WRAP) != 0);
}

LRESULT Win32ListView::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
    if (!IsHighlighted(row)) return CDRF_DODEFAULT;
    // A selected row keeps the selection's colours: what the user picked
    // matters more to them than what changed.
    if (SendMessageW(hwnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0) {
        return CDRF_DODEFAULT;
    }
    const RowColours colours = ChangedRowColours(highContrast_);
    draw.clrText = colours.text;
    draw.clrTextBk = colours.back;
    return CDRF_NEWFONT;
}

}  // namespace kestrova::win32
