// Modal message boxes owned by the main window, captioned with its title.
#pragma once

#include <windows.h>

// <windows.h> maps MessageBox to MessageBoxW; the core's interface of that
// name must keep its own name in every translation unit that sees both.
#ifdef MessageBox
#undef MessageBox
#endif

#include <functional>

#include "platform/MessageBox.h"
#include "platform/Text.h"

namespace kestrova::win32 {

// MessageBoxW's shape; tests pass their own to see the call without a modal box.
using MessageBoxFunction = std::function<int(HWND, const wchar_t*, const wchar_t*, UINT)>;

class Win32MessageBox final : public MessageBox {
public:
    Win32MessageBox(HWND owner, Text caption, MessageBoxFunction show = &::MessageBoxW);

    void Show(TextView prompt, std::uint32_t style) override;

private:
    HWND owner_;
    Text caption_;
    MessageBoxFunction show_;
};

}  // namespace kestrova::win32
