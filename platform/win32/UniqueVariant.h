// An owned VARIANT: whatever it holds (a BSTR, an array, an interface) is
// released by VariantClear when it goes, including on early returns.
#pragma once

#include <windows.h>

#include <oleauto.h>

namespace kestrova::win32 {

class unique_variant {
public:
    unique_variant() noexcept { VariantInit(&variant_); }
    ~unique_variant() { VariantClear(&variant_); }

    // A VARIANT's payload is owned by whoever holds the struct, so moving is
    // a bitwise copy that leaves the source empty.
    unique_variant(unique_variant&& other) noexcept : variant_(other.variant_) {
        VariantInit(&other.variant_);
    }
    unique_variant& operator=(unique_variant&& other) noexcept {
        if (this != &other) {
            VariantClear(&variant_);
            variant_ = other.variant_;
            VariantInit(&other.variant_);
        }
        return *this;
    }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;

    const VARIANT& get() const noexcept { return variant_; }
    VARIANT* addressof() noexcept { return &variant_; }
    VARTYPE vt() const noexcept { return V_VT(&variant_); }

    // For out-parameters: clears the current value first so nothing leaks.
    VARIANT* put() noexcept {
        reset();
        return &variant_;
    }
    void reset() noexcept {
        VariantClear(&variant_);
        VariantInit(&variant_);
    }

private:
    VARIANT variant_;
};

}  // namespace kestrova::win32
