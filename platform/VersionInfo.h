// The program's own version resource.
#pragma once

#include "platform/Text.h"

namespace kestrova {

class VersionInfo {
public:
    virtual ~VersionInfo() = default;
    virtual Text ProductName() const = 0;
};

}  // namespace kestrova
