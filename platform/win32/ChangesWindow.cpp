#include "platform/win32/ChangesWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "platform/win32/Clipboard.h"
#include "platform/win32/DefaultPlace.h"
#include "platform/win32/ListPlace.h"
#include "platform/win32/MessageFont.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowDpi.h"
#include "window/SelectionText.h"

namespace kestrova::win32 {

namespace {

constexpr wchar_t kClassName[] = L"KestrovaChanges";
constexpr int kListId = 1;
constexpr int kNoteId = 2;
constexpr int kWidth96 = 900;  // the window at 96 DPI
constexpr int kHeight96 = 380;
constexpr int kMargin96 = 8;
constexpr int kNoteHeight96 = 20;
constexpr int kFontPoints = 9;
constexpr UINT_PTR kDayTimerId = 1;
constexpr UINT kDayTimerMs = 60000;  // how late a turned day may show
// Room the list leaves around a cell's text, at 96 DPI.
constexpr int kCellTextMargin96 = 16;

}  // namespace

ChangesWindow::ChangesWindow(HINSTANCE instance, HWND owner, ChangeLog& log,
                             std::function<void()> copyFailed)
    : ChangesWindow(instance, owner, log, std::move(copyFailed), Seams{}) {}

ChangesWindow::ChangesWindow(HINSTANCE instance, HWND owner, ChangeLog& log,
                             std::function<void()> copyFailed, Seams seams)
    : instance_(instance),
      log_(log),
      copyFailed_(std::move(copyFailed)),
      dpiSources_(seams.dpi ? *seams.dpi : DpiSources::System()) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(instance_, kClassName, &windowClass)) {
        windowClass = WNDCLASSEXW{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &ChangesWindow::WindowProc;
        windowClass.hInstance = instance_;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // The system's colour, so a high-contrast scheme reaches it too.
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassExW(&windowClass)) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                    "registering the changes window");
        }
    }
    // Owned by the main window: it goes with it, minimised or closed. Made
    // on the main window's monitor, so it starts at that monitor's DPI.
    const POINT at = CentredOn(owner, SIZE{kWidth96, kHeight96});
    hwnd_ = CreateWindowExW(0, kClassName, L"Kestrova \u2013 Changes", WS_OVERLAPPEDWINDOW, at.x,
                            at.y, kWidth96, kHeight96, owner, nullptr, instance_, this);
    if (!hwnd_) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "creating the changes window");
    }
    today_ = Win32Clock().Now();
    // The window points at this object, and so would the log's callback: a
    // failure must take both along, or the next message broadcast to every
    // window would reach freed memory.
    try {
        CreateChildren(seams.made);
        RescaleTo(WindowDpi(hwnd_, dpiSources_));
        log_.OnChange([this] { FollowLog(); });
        if (seams.made) seams.made(Seams::Part::Callback);
        FollowLog();
    } catch (...) {
        log_.OnChange(nullptr);
        DestroyWindow(hwnd_);
        throw;
    }
    SetTimer(hwnd_, kDayTimerId, kDayTimerMs, nullptr);
}

ChangesWindow::~ChangesWindow() {
    log_.OnChange(nullptr);
    if (hwnd_) DestroyWindow(hwnd_);
}

void ChangesWindow::CreateChildren(const std::function<void(Seams::Part)>& made) {
    note_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0,
                            0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNoteId)),
                            instance_, nullptr);
    if (note_ && made) made(Seams::Part::Note);
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"Changes",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                LVS_OWNERDATA,
                            0, 0, 0, 0, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance_,
                            nullptr);
    if (list_ && made) made(Seams::Part::List);
    if (!note_ || !list_) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "creating the list of changes");
    }
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (std::size_t i = 0; i < kChangeColumns.size(); ++i) {
        std::wstring header = ToWide(kChangeColumns[i].header);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kChangeColumns[i].width96;
        column.pszText = header.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

// The font, the column widths (from what they are, so widths the user
// dragged survive) and the layout.
void ChangesWindow::ApplyDpi(unsigned dpi) {
    const unsigned before = scale_.Dpi();
    scale_.SetDpi(dpi);
    ApplyFont();
    for (std::size_t i = 0; i < kChangeColumns.size(); ++i) {
        const int width = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, i, 0));
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, i,
                     MAKELPARAM(MulDiv(width, static_cast<int>(dpi), static_cast<int>(before)), 0));
    }
    FitTimeColumn();
    LayOut();
}

// At creation (made at the size for 96) and where a placement lands on a
// monitor of another DPI: the window's size scales with the DPI, as the
// rectangle WM_DPICHANGED suggests would.
void ChangesWindow::RescaleTo(unsigned dpi) {
    const unsigned before = scale_.Dpi();
    ApplyDpi(dpi);
    if (dpi == before) return;
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    const int to = static_cast<int>(dpi);
    const int from = static_cast<int>(before);
    SetWindowPos(hwnd_, nullptr, 0, 0, MulDiv(frame.right - frame.left, to, from),
                 MulDiv(frame.bottom - frame.top, to, from),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Wide enough for a date and a time in the user's formats and the list's
// font at this DPI; a column the user made wider stays so.
void ChangesWindow::FitTimeColumn() {
    // Two-digit day, month, hour: the widest a short date and time get.
    const LocalTime widest{2026, 12, 28, {23, 58, 58}};
    const std::wstring text = ToWide(WhenFormat(locale_, std::nullopt)(widest));
    const int needed = static_cast<int>(SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0,
                                                     reinterpret_cast<LPARAM>(text.c_str()))) +
                       scale_.Scale96(kCellTextMargin96);
    if (static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, 0, 0)) < needed) {
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(needed, 0));
    }
}

// Yesterday's entries must show their date once the day has turned, with
// nothing new coming in to repaint them.
void ChangesWindow::FollowDay() {
    const LocalTime now = Win32Clock().Now();
    if (SameDay(now, today_)) return;
    today_ = now;
    InvalidateRect(list_, nullptr, FALSE);
}

// At the DPI, and again when the user picks another message font.
void ChangesWindow::ApplyFont() {
    if (unique_hfont font = CreateMessageFont(kFontPoints, scale_.Dpi())) {
        SendMessageW(note_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        font_ = std::move(font);
    }
    FitTimeColumn();
}

void ChangesWindow::LayOut() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int margin = scale_.Scale96(kMargin96);
    const int noteHeight = scale_.Scale96(kNoteHeight96);
    const int width = std::max(0, static_cast<int>(client.right) - 2 * margin);
    SetWindowPos(note_, nullptr, margin, margin, width, noteHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    const int top = 2 * margin + noteHeight;
    SetWindowPos(list_, nullptr, margin, top, width,
                 std::max(0, static_cast<int>(client.bottom) - top - margin),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChangesWindow::Show() {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    if (!IsWindowVisible(hwnd_)) {
        // The main window may have gone to another monitor meanwhile; and a
        // hidden owned window is not sure to hear the system's broadcasts.
        PlaceOnOwner();
        ApplyFont();
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetFocus(list_);
}

void ChangesWindow::Hide() {
    // Hiding the active window hands the activation to the next window in
    // the z-order, which may be another program's. The user came from the
    // main window.
    const HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner && GetForegroundWindow() == hwnd_ && IsWindowVisible(owner) &&
        IsWindowEnabled(owner)) {
        SetForegroundWindow(owner);
    }
    ShowWindow(hwnd_, SW_HIDE);
}

void ChangesWindow::PlaceOnOwner() {
    const HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (!owner) return;
    CentreOn(owner);
    // Windows does not promise WM_DPICHANGED to a hidden window: the DPI
    // where it now stands is taken here, before it shows, and the size that
    // comes with it is centred again.
    if (const unsigned dpi = MonitorDpi(hwnd_, dpiSources_); dpi != scale_.Dpi()) {
        RescaleTo(dpi);
        CentreOn(owner);
    }
}

void ChangesWindow::CentreOn(HWND owner) {
    // A move onto a monitor of another DPI may resize the window
    // (WM_DPICHANGED); the second round centres it at its new size.
    for (int round = 0; round < 2; ++round) {
        RECT frame{};
        GetWindowRect(hwnd_, &frame);
        const POINT at = CentredOn(owner, SIZE{frame.right - frame.left, frame.bottom - frame.top});
        if (at.x == frame.left && at.y == frame.top) return;
        SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// New entries come in on top, and the oldest may drop off the end: every
// row the user had selected or scrolled to moves down by as many as came.
void ChangesWindow::FollowLog() {
    FollowDay();
    const int count = static_cast<int>(log_.Count());
    const int before = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    const auto came = static_cast<int>(log_.Added() - shownAdded_);
    shownAdded_ = log_.Added();
    const ListPlace place = ListPlace::Of(list_);
    std::vector<int> movedTo(static_cast<std::size_t>(before));
    for (int row = 0; row < before; ++row) {
        movedTo[static_cast<std::size_t>(row)] = row + came < count ? row + came : -1;
    }
    if (count != before) {
        SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
                     LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    }
    if (came > 0) place.RestoreMoved(list_, movedTo);
    // Cheap for a list of at most a thousand short rows, and a run of
    // failures rewrites the newest entry in place.
    InvalidateRect(list_, nullptr, FALSE);
    SetWindowTextW(note_, ToWide(log_.Note()).c_str());
}

bool ChangesWindow::CopySelection() const {
    std::vector<int> selected = ListPlace::Of(list_).selected;
    if (selected.empty()) return true;
    TableRowTexts headers;
    for (const ChangeColumn& column : kChangeColumns) headers.emplace_back(column.header);
    std::vector<TableRowTexts> rows;
    for (int row : selected) {
        if (row < 0 || static_cast<std::size_t>(row) >= log_.Count()) continue;
        TableRowTexts cells;
        for (std::size_t c = 0; c < kChangeColumns.size(); ++c) {
            // Dated always: a copy may be read on another day.
            cells.emplace_back(ChangeCell(log_.Entry(static_cast<std::size_t>(row)),
                                          static_cast<int>(c), WhenFormat(locale_, std::nullopt)));
        }
        rows.push_back(std::move(cells));
    }
    if (PutOnClipboard(hwnd_, SelectionText(headers, rows))) return true;
    if (copyFailed_) copyFailed_();
    return false;
}

bool ChangesWindow::OnKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (key == VK_ESCAPE) {
        Hide();
        return true;
    }
    if (control && (key == 'C' || key == VK_INSERT)) {
        CopySelection();
        return true;
    }
    if (control && key == 'A') {
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&item));
        return true;
    }
    return false;
}

void ChangesWindow::FillDisplayInfo(LVITEMW& item) const {
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= log_.Count()) return;
    if ((item.mask & LVIF_TEXT) == 0 || !item.pszText || item.cchTextMax <= 0) return;
    const Text text = ChangeCell(log_.Entry(static_cast<std::size_t>(item.iItem)), item.iSubItem,
                                 WhenFormat(locale_, today_));
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::copy_n(text.data(), n, item.pszText);
    item.pszText[n] = L'\0';
}

LRESULT CALLBACK ChangesWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ChangesWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        // Aware the first per-monitor way, a window's caption keeps the DPI
        // it was made at unless it asks, and only here; the second way
        // scales it by itself.
        const DpiSources& dpi = self->dpiSources_;
        if (dpi.scaleNonClient && IsPerMonitorV1(hwnd, dpi)) dpi.scaleNonClient(hwnd);
    }
    auto* self = reinterpret_cast<ChangesWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = self->list_ = self->note_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // No exception may leave a window procedure; out of memory is the only
    // one that can arise here, and the window then does what it would
    // without us.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT ChangesWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            Hide();
            return 0;
        case WM_SIZE:
            if (list_) LayOut();
            return 0;
        case WM_TIMER:
            if (wParam == kDayTimerId && list_) FollowDay();
            return 0;
        case WM_SETFOCUS:
            if (list_) SetFocus(list_);
            return 0;
        case WM_KEYDOWN:
            if (OnKey(wParam)) return 0;
            break;
        case WM_DPICHANGED: {
            // Taken already where it was placed: the suggestion would scale
            // the size a second time.
            if (HIWORD(wParam) == scale_.Dpi()) return 0;
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            ApplyDpi(HIWORD(wParam));
            SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                         suggested.right - suggested.left, suggested.bottom - suggested.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_SYSCOLORCHANGE:
            // Common controls learn of it only from their parent.
            if (list_) SendMessageW(list_, WM_SYSCOLORCHANGE, wParam, lParam);
            break;
        case WM_CTLCOLORSTATIC:
            // The note lies on the window's button face; the system's own
            // answer would write window text on it, a pair that a
            // high-contrast scheme need not keep readable.
            if (reinterpret_cast<HWND>(lParam) != note_) break;
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNTEXT));
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETNONCLIENTMETRICS && list_) ApplyFont();
            break;
        case WM_NOTIFY: {
            auto& header = *reinterpret_cast<NMHDR*>(lParam);
            if (header.hwndFrom != list_) break;
            if (header.code == LVN_GETDISPINFOW) {
                FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header).item);
                return 0;
            }
            if (header.code == LVN_KEYDOWN) {
                OnKey(reinterpret_cast<NMLVKEYDOWN&>(header).wVKey);
                return 0;
            }
            break;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace kestrova::win32
