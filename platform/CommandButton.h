// A push button whose caption is also its state (see PollingSwitch).
#pragma once

#include "platform/Text.h"

namespace kestrova {

class CommandButton {
public:
    virtual ~CommandButton() = default;
    virtual Text Caption() const = 0;
    virtual void SetCaption(TextView text) = 0;
};

}  // namespace kestrova
