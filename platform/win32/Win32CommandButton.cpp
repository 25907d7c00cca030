#include "platform/win32/Win32CommandButton.h"

#include <system_error>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {
HWND CreateButton(HWND parent, int controlId, TextView caption) {
    const HWND hwnd = CreateWindowExW(
        0, L"BUTTON", ToWide(caption).c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!hwnd)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "creating a button");
    return hwnd;
}
}  // namespace

Win32CommandButton::Win32CommandButton(HWND parent, int controlId, const ControlPlace& place,
                                       const DpiScale& scale, TextView caption)
    : ChildControl(CreateButton(parent, controlId, caption), place, scale),
      text_(GetSysColor(COLOR_BTNTEXT)) {}

Text Win32CommandButton::Caption() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

void Win32CommandButton::SetCaption(TextView text) {
    SetWindowTextW(hwnd(), ToWide(text).c_str());
    // An owner-drawn button does not repaint itself when its text changes.
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void Win32CommandButton::SetColours(COLORREF back, COLORREF text) {
    back_.reset(CreateSolidBrush(back));
    text_ = text;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void Win32CommandButton::Draw(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;

    // The focused button wears a dark outline, as the default push button
    // does, so the focus shows even where focus rectangles are hidden.
    if (focused) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    FillRect(dc, &face, back_ ? back_.get() : GetSysColorBrush(COLOR_BTNFACE));
    if (pressed) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
        DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);
    }

    const std::wstring caption = ToWide(Caption());
    RECT text = face;
    if (pressed) OffsetRect(&text, 1, 1);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
    const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : text_);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (oldFont) SelectObject(dc, oldFont);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        // Just inside the 2-pixel edge: the button is barely taller than its
        // text, and any deeper inset would strike through the caption.
        RECT focus = face;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace kestrova::win32
