// The process environment.
#pragma once

#include "platform/Text.h"

namespace kestrova {

class Environment {
public:
    virtual ~Environment() = default;
    // The empty text when the variable is not set.
    virtual Text GetVariable(TextView name) const = 0;
};

}  // namespace kestrova
