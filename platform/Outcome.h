// A value or the platform's failure. Small on purpose: the core needs to ask
// "did it work" and pass the failure on, nothing more.
#pragma once

#include <utility>
#include <variant>

#include "platform/PlatformError.h"

namespace kestrova {

template <class T>
class Outcome {
public:
    Outcome(T value) : state_(std::move(value)) {}  // NOLINT: implicit by design
    Outcome(PlatformError error) : state_(std::move(error)) {}  // NOLINT

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    const PlatformError& error() const { return std::get<1>(state_); }

private:
    std::variant<T, PlatformError> state_;
};

}  // namespace kestrova
