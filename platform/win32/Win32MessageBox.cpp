#include "platform/win32/Win32MessageBox.h"

#include <string>
#include <utility>

#include "platform/win32/WideText.h"

namespace kestrova::win32 {

Win32MessageBox::Win32MessageBox(HWND owner, Text caption, MessageBoxFunction show)
    : owner_(owner), caption_(std::move(caption)), show_(std::move(show)) {}

void Win32MessageBox::Show(TextView prompt, std::uint32_t style) {
    if (!show_) return;
    const std::wstring widePrompt = ToWide(prompt);
    const std::wstring wideCaption = ToWide(caption_);
    show_(owner_, widePrompt.c_str(), wideCaption.c_str(), static_cast<UINT>(style));
}

}  // namespace kestrova::win32
