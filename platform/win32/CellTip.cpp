#include "platform/win32/CellTip.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {
TTTOOLINFOW ToolOf(HWND list) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = list;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    return tool;
}
}  // namespace

CellTip::CellTip(HWND list, std::function<std::optional<Text>(POINT)> textAt)
    : list_(list), textAt_(std::move(textAt)) {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    tip_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TRANSPARENT, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, list, nullptr, nullptr, nullptr);
    if (!tip_) return;  // the table works without tips
    TTTOOLINFOW tool = ToolOf(list_);
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

CellTip::~CellTip() {
    // Owned by the list, so already gone when the list went first.
    if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

void CellTip::OnMouseMove(POINT client) {
    if (!tip_) return;
    const std::optional<Text> text = textAt_(client);
    const std::wstring wanted = text ? ToWide(*text) : std::wstring();
    if (wanted == text_) return;
    text_ = wanted;
    // Hidden now; the tooltip shows again, asking for the new text, once the
    // pointer rests.
    SendMessageW(tip_, TTM_POP, 0, 0);
    TTTOOLINFOW tool = ToolOf(list_);
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CellTip::Relay(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tip_) return;
    MSG seen{};
    seen.hwnd = list_;
    seen.message = message;
    seen.wParam = wParam;
    seen.lParam = lParam;
    seen.time = static_cast<DWORD>(GetMessageTime());
    const DWORD at = GetMessagePos();
    seen.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&seen));
}

void CellTip::Refresh() {
    if (!tip_) return;
    POINT at{};
    RECT client{};
    if (!GetCursorPos(&at) || !ScreenToClient(list_, &at) || !GetClientRect(list_, &client)) return;
    // Outside the list the tooltip hides by itself; only the stale text must go.
    if (!PtInRect(&client, at)) at = {-1, -1};
    OnMouseMove(at);
}

std::optional<LRESULT> CellTip::OnNotify(NMHDR& header) {
    if (!tip_ || header.hwndFrom != tip_ || header.code != TTN_GETDISPINFOW) return std::nullopt;
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    // An empty text shows no tip at all: the cell fits.
    info.lpszText = text_.data();
    info.szText[0] = L'\0';
    info.hinst = nullptr;
    return 0;
}

void CellTip::OnDpiChanged(int maxWidth) {
    if (tip_) SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, maxWidth);
}

}  // namespace kestrova::win32
