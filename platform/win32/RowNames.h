// The accessible name of each row of the adapter table: its MAC address and
// what its light means. The list's own name for a row is its first column;
// the light is an image, which a screen reader cannot read. The name is
// given through the system's dynamic annotation (IAccPropServices), asked
// for at the moment a reader wants it, so it is never stale.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "platform/Text.h"

struct IAccPropServer;
struct IAccPropServices;

namespace kestrova::win32 {

class RowNames {
public:
    // The name of the row at a position, or nothing past the last row.
    using NameOf = std::function<std::optional<Text>(int position)>;
    // The child id an annotation's identity string names (rows count from 1).
    using ChildOf = std::function<std::optional<long>(const BYTE* id, DWORD length)>;

    // Needs COM on this thread. Without the system's annotation service
    // (Wine has none) the list keeps the names it has.
    RowNames(HWND list, NameOf nameOf);
    // `childOf` replaces the service's own reading of identity strings.
    RowNames(HWND list, NameOf nameOf, ChildOf childOf);
    ~RowNames();
    RowNames(const RowNames&) = delete;
    RowNames& operator=(const RowNames&) = delete;

    // The service took the annotation.
    bool Annotated() const { return annotated_; }
    // What the service asks; null when it could not be made.
    IAccPropServer* Server() const { return server_; }

private:
    HWND list_;
    IAccPropServices* services_ = nullptr;
    IAccPropServer* server_ = nullptr;
    bool annotated_ = false;
};

}  // namespace kestrova::win32
