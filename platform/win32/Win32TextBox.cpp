#include "platform/win32/Win32TextBox.h"

#include <system_error>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {
HWND CreateTextBox(HWND parent, int controlId, TextView text) {
    const HWND hwnd = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", ToWide(text).c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!hwnd)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "creating a text box");
    return hwnd;
}
}  // namespace

Win32TextBox::Win32TextBox(HWND parent, int controlId, const ControlPlace& place,
                           const DpiScale& scale, TextView text)
    : ChildControl(CreateTextBox(parent, controlId, text), place, scale) {}

Text Win32TextBox::GetText() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

void Win32TextBox::SetText(TextView text) {
    SetWindowTextW(hwnd(), ToWide(text).c_str());
}

bool Win32TextBox::IsEnabled() const {
    return IsWindowEnabled(hwnd()) != FALSE;
}

void Win32TextBox::SetEnabled(bool enabled) {
    // A disabled window keeps the keyboard focus but takes no keys, which
    // would leave the user typing into nothing; the focus moves on to the
    // next tab stop instead, as in a dialog.
    if (!enabled && GetFocus() == hwnd()) {
        const HWND parent = GetParent(hwnd());
        if (const HWND next = GetNextDlgTabItem(parent, hwnd(), FALSE); next && next != hwnd()) {
            SetFocus(next);
        }
    }
    EnableWindow(hwnd(), enabled ? TRUE : FALSE);
}

void Win32TextBox::FocusAndSelectAll() {
    SetFocus(hwnd());
    SendMessageW(hwnd(), EM_SETSEL, 0, -1);
}

}  // namespace kestrova::win32
