#include "platform/win32/Win32Label.h"

#include <system_error>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {
HWND CreateLabel(HWND parent, int controlId, TextView caption) {
    // SS_NOPREFIX: a product name with "&" in it is shown as written, not as
    // a mnemonic. WS_CLIPSIBLINGS: windowed controls that overlap a label
    // stay on top of it when it repaints.
    const HWND hwnd = CreateWindowExW(
        0, L"STATIC", ToWide(caption).c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!hwnd)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "creating a label");
    return hwnd;
}
}  // namespace

Win32Label::Win32Label(HWND parent, int controlId, const ControlPlace& place, const DpiScale& scale,
                       TextView caption)
    : ChildControl(CreateLabel(parent, controlId, caption), place, scale) {}

Text Win32Label::Caption() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

void Win32Label::SetCaption(TextView text) {
    SetWindowTextW(hwnd(), ToWide(text).c_str());
}

}  // namespace kestrova::win32
