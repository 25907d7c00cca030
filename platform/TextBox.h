// A single-line edit box.
#pragma once

#include "platform/Text.h"

namespace kestrova {

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual Text GetText() const = 0;
    virtual void SetText(TextView text) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // Focus with the whole text selected, the way Windows hands back a field
    // the user has to correct.
    virtual void FocusAndSelectAll() = 0;
};

}  // namespace kestrova
