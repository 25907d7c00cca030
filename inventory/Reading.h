// One value read from WMI for an adapter: present, null, or a failed read.
// The table treats null and failed alike (no text), except for the MAC
// address, where a null still earns a row and a failed read does not.
#pragma once

#include <cstdint>
#include <utility>

namespace kestrova {

template <class T>
class Reading {
public:
    enum class State : std::uint8_t { Failed, Null, Present };

    Reading() = default;  // a read that never happened counts as failed
    static Reading Of(T value) { return Reading(State::Present, std::move(value)); }
    static Reading Null() { return Reading(State::Null, T{}); }
    static Reading Failed() { return Reading(State::Failed, T{}); }

    State state() const { return state_; }
    bool present() const { return state_ == State::Present; }
    bool null() const { return state_ == State::Null; }
    bool failed() const { return state_ == State::Failed; }
    // Only meaningful when present().
    const T& value() const { return value_; }

    friend bool operator==(const Reading&, const Reading&) = default;

private:
    Reading(State state, T value) : state_(state), value_(std::move(value)) {}

    State state_ = State::Failed;
    T value_{};
};

}  // namespace kestrova
