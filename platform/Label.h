// A static text drawn beneath the windowed controls. Places are twips.
#pragma once

#include "platform/Text.h"

namespace kestrova {

class Label {
public:
    virtual ~Label() = default;
    virtual Text Caption() const = 0;
    virtual void SetCaption(TextView text) = 0;
    virtual void SetWidth(float twips) = 0;
    virtual void SetTop(float twips) = 0;
};

}  // namespace kestrova
