// WMI through its scripting objects (SWbemServices and friends), the way a
// "winmgmts:" moniker hands them out.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <memory>

#include "platform/Wmi.h"

namespace kestrova::win32 {

// Needs a COM apartment on the calling thread; every object it hands out must
// be used and destroyed on that thread.
class Win32WmiConnector final : public WmiConnector {
public:
    Outcome<std::unique_ptr<WmiServices>> Bind(TextView displayName) override;
};

// A property value as the core wants it: texts, booleans and integers as
// they are (integers widened, never reinterpreted), empty and null as null,
// anything else in its text form if OLE has one, otherwise a failed read.
WmiValue ValueFromVariant(const VARIANT& value);

// Element `index` of a list value, counted from the array's lower bound. A
// null list, a value that is not a one-dimensional array, and an index
// outside the array are failed reads.
WmiValue ElementFromVariant(const VARIANT& list, std::int16_t index);

}  // namespace kestrova::win32
