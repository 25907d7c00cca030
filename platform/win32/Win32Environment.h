// The process environment through GetEnvironmentVariableW.
#pragma once

#include "platform/Environment.h"

namespace kestrova::win32 {

class Win32Environment final : public Environment {
public:
    Text GetVariable(TextView name) const override;
};

}  // namespace kestrova::win32
