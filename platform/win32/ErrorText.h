// Turns a failing HRESULT into the core's PlatformError: the code unchanged
// and the best text Windows (or, failing that, this program) has for it.
#pragma once

#include <windows.h>

#include "platform/PlatformError.h"

namespace kestrova::win32 {

// The system's message table first; for WMI's own codes, which it does not
// hold, WMI's status-code text, and last a few built-in English texts. The
// message carries no trailing line break. It is empty only for a code nobody
// has a text for; the core then words the failure itself.
PlatformError ErrorFromHresult(HRESULT hr);

}  // namespace kestrova::win32
