// A single-line edit box with a sunken border.
#pragma once

#include <windows.h>

#include "platform/TextBox.h"
#include "platform/win32/ChildControl.h"

namespace kestrova::win32 {

class Win32TextBox final : public TextBox, public ChildControl {
public:
    // Throws std::system_error when the control cannot be created.
    Win32TextBox(HWND parent, int controlId, const ControlPlace& place, const DpiScale& scale,
                 TextView text);

    Text GetText() const override;
    void SetText(TextView text) override;
    bool IsEnabled() const override;
    void SetEnabled(bool enabled) override;
    void FocusAndSelectAll() override;
};

}  // namespace kestrova::win32
