#include "TargetWindow.h"

#include <commctrl.h>

#include <array>

#include "platform/win32/MainWindow.h"

namespace kestrova::e2e {

namespace {

// What an automation tool knows the window by; the class is the program's
// public face, so the probe names it rather than borrowing a constant.
constexpr wchar_t kMainClass[] = L"KestrovaMainWindow";
constexpr UINT kAnswerMs = 5000;

constexpr std::size_t kTextChars = 4096;
constexpr std::size_t kTextOffset = 256;  // after the largest struct sent
constexpr std::size_t kRemoteBytes = kTextOffset + kTextChars * sizeof(wchar_t);
static_assert(sizeof(LVITEMW) <= kTextOffset && sizeof(LVCOLUMNW) <= kTextOffset &&
              sizeof(HDITEMW) <= kTextOffset);

BOOL CALLBACK CollectMain(HWND hwnd, LPARAM found) {
    std::array<wchar_t, 64> name{};
    GetClassNameW(hwnd, name.data(), static_cast<int>(name.size()));
    if (std::wstring(name.data()) == kMainClass && IsWindowVisible(hwnd)) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> FindMainWindows() {
    std::vector<HWND> found;
    EnumWindows(&CollectMain, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ControlOf(HWND main, ControlId id) {
    return GetDlgItem(main, win32::MainWindow::ControlIdOf(id));
}

std::optional<ControlId> ControlNamed(const std::wstring& name) {
    for (const ControlEntry& entry : kControlTable) {
        if (std::wstring(entry.name.begin(), entry.name.end()) == name) return entry.id;
    }
    return std::nullopt;
}

std::optional<std::wstring> TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length)) {
        return std::nullopt;
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kAnswerMs, &copied)) {
        return std::nullopt;
    }
    text.resize(copied);
    return text;
}

bool SetTextOf(HWND hwnd, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, kAnswerMs, &result) != 0 &&
           result != FALSE;
}

RECT ScreenRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

RECT RectInParent(HWND child) {
    RECT rect = ScreenRect(child);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RemoteList::RemoteList(HWND list) : list_(list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process_) return;
    remote_ = static_cast<char*>(
        VirtualAllocEx(process_, nullptr, kRemoteBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteList::~RemoteList() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

bool RemoteList::Send(UINT message, WPARAM wParam, LRESULT* result) const {
    return SendTo(list_, message, wParam, result);
}

bool RemoteList::SendTo(HWND target, UINT message, WPARAM wParam, LRESULT* result) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(target, message, wParam, reinterpret_cast<LPARAM>(remote_),
                             SMTO_ABORTIFHUNG, kAnswerMs, &answer)) {
        return false;
    }
    if (result) *result = static_cast<LRESULT>(answer);
    return true;
}

std::optional<LRESULT> RemoteList::Ask(UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(list_, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs,
                             &answer)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(answer);
}

HWND RemoteList::Header() const {
    return reinterpret_cast<HWND>(Ask(LVM_GETHEADER, 0, 0).value_or(0));
}

std::optional<RECT> RemoteList::HeaderScreenRect(int column) const {
    const HWND header = Header();
    if (!Ready() || !header) return std::nullopt;
    RECT rect{};
    LRESULT ok = 0;
    if (!SendTo(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), &ok) || !ok ||
        !Read(0, &rect, sizeof(rect))) {
        return std::nullopt;
    }
    MapWindowPoints(header, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::optional<int> RemoteList::HeaderFormat(int column) const {
    const HWND header = Header();
    if (!Ready() || !header) return std::nullopt;
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    LRESULT ok = 0;
    if (!Write(0, &item, sizeof(item)) ||
        !SendTo(header, HDM_GETITEMW, static_cast<WPARAM>(column), &ok) || !ok ||
        !Read(0, &item, sizeof(item))) {
        return std::nullopt;
    }
    return item.fmt;
}

bool RemoteList::Write(std::size_t offset, const void* data, std::size_t size) const {
    SIZE_T done = 0;
    return WriteProcessMemory(process_, remote_ + offset, data, size, &done) && done == size;
}

bool RemoteList::Read(std::size_t offset, void* data, std::size_t size) const {
    SIZE_T done = 0;
    return ReadProcessMemory(process_, remote_ + offset, data, size, &done) && done == size;
}

int RemoteList::RowCount() const {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list_, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &count)) {
        return -1;
    }
    return static_cast<int>(count);
}

std::optional<HeaderColumn> RemoteList::Column(int column) const {
    if (!Ready()) return std::nullopt;
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH;
    info.pszText = reinterpret_cast<wchar_t*>(remote_ + kTextOffset);
    info.cchTextMax = static_cast<int>(kTextChars);
    const wchar_t none = L'\0';
    LRESULT ok = 0;
    if (!Write(0, &info, sizeof(info)) || !Write(kTextOffset, &none, sizeof(none)) ||
        !Send(LVM_GETCOLUMNW, static_cast<WPARAM>(column), &ok) || !ok) {
        return std::nullopt;
    }
    std::wstring text(kTextChars, L'\0');
    if (!Read(0, &info, sizeof(info)) ||
        !Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t))) {
        return std::nullopt;
    }
    text.resize(text.find(L'\0'));
    return HeaderColumn{text, info.cx};
}

std::optional<std::wstring> RemoteList::Cell(int row, int column) const {
    if (!Ready()) return std::nullopt;
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote_ + kTextOffset);
    item.cchTextMax = static_cast<int>(kTextChars);
    LRESULT copied = 0;
    if (!Write(0, &item, sizeof(item)) ||
        !Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), &copied)) {
        return std::nullopt;
    }
    std::wstring text(static_cast<std::size_t>(copied), L'\0');
    if (copied > 0 && !Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t))) {
        return std::nullopt;
    }
    return text;
}

std::vector<std::vector<std::wstring>> RemoteList::Rows(int columns) const {
    std::vector<std::vector<std::wstring>> rows;
    const int count = RowCount();
    for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < columns; ++column) {
            cells.push_back(Cell(row, column).value_or(L"<unreadable>"));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::optional<RECT> RemoteList::ItemClientRect(int row, int part) const {
    if (!Ready()) return std::nullopt;
    RECT rect{};
    rect.left = part;
    LRESULT ok = 0;
    if (!Write(0, &rect, sizeof(rect)) ||
        !Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), &ok) || !ok ||
        !Read(0, &rect, sizeof(rect))) {
        return std::nullopt;
    }
    return rect;
}

std::optional<RECT> RemoteList::ItemScreenRect(int row, int part) const {
    std::optional<RECT> rect = ItemClientRect(row, part);
    if (rect) MapWindowPoints(list_, HWND_DESKTOP, reinterpret_cast<POINT*>(&*rect), 2);
    return rect;
}

}  // namespace kestrova::e2e
