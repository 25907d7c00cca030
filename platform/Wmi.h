// The slice of the WMI scripting interface that a refresh uses: bind a
// display name, run one query, walk its result set, read properties and list
// elements. Releasing is destruction; a refresh destroys the result set
// before the service object, as WMI's own clients do.
#pragma once

#include <cstdint>
#include <memory>
#include <variant>

#include "platform/Outcome.h"
#include "platform/Text.h"

namespace kestrova {

// A read either delivers a value, finds null, or fails. Null and failure are
// kept apart because an adapter whose MAC address is null still gets a row,
// while one whose MAC address cannot be read does not.
struct WmiNull {};
struct WmiReadFailed {
    std::uint32_t code = 0;
};
// CIM integers arrive in signed variants (uint32 as VT_I4); the platform side
// widens them without reinterpreting, and the core decides the text form.
using WmiValue = std::variant<WmiReadFailed, WmiNull, Text, bool, std::int64_t>;

class WmiObject {
public:
    virtual ~WmiObject() = default;
    virtual WmiValue ReadProperty(TextView name) = 0;
    // Element `index` of a list property; reading past the end, or any
    // element of a null list, is a failed read.
    virtual WmiValue ReadElement(TextView name, std::int16_t index) = 0;
};

class WmiObjectSet {
public:
    virtual ~WmiObjectSet() = default;
    // The next object, nullptr at the end, or the failure of the fetch.
    virtual Outcome<std::unique_ptr<WmiObject>> Next() = 0;
};

class WmiServices {
public:
    virtual ~WmiServices() = default;
    // Query language, flags and context stay at the scripting defaults.
    virtual Outcome<std::unique_ptr<WmiObjectSet>> ExecQuery(TextView query) = 0;
};

class WmiConnector {
public:
    virtual ~WmiConnector() = default;
    // Binds a "winmgmts:" display name as a moniker, with the caller's
    // credentials.
    virtual Outcome<std::unique_ptr<WmiServices>> Bind(TextView displayName) = 0;
};

}  // namespace kestrova
