// Reading a string out of a version resource (VS_VERSIONINFO) as the
// resource compiler lays it out, from the bytes alone: the program reads its
// own title this way without loading version.dll.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "platform/Text.h"

namespace kestrova {

// The value of `name` in the string table `table` (such as u"040904B0"),
// keys compared without regard to ASCII case, up to its first zero.
// Nothing when the resource lacks it or its lengths do not add up; nothing
// is read outside `resource`.
std::optional<Text> VersionString(std::span<const std::byte> resource, TextView table,
                                  TextView name);

}  // namespace kestrova
