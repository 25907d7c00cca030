// An owned BSTR. BSTRs carry their own length, so text goes in and out by
// length, never by the terminating zero: embedded zeros survive and an empty
// text is a real, non-null BSTR (some callees treat null and "" differently).
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string_view>

namespace kestrova::win32 {

class unique_bstr {
public:
    unique_bstr() noexcept = default;
    explicit unique_bstr(BSTR owned) noexcept : bstr_(owned) {}
    ~unique_bstr() { reset(); }

    unique_bstr(unique_bstr&& other) noexcept : bstr_(other.release()) {}
    unique_bstr& operator=(unique_bstr&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    unique_bstr(const unique_bstr&) = delete;
    unique_bstr& operator=(const unique_bstr&) = delete;

    // Null when the allocation failed (or the text is too long for a BSTR).
    static unique_bstr From(std::wstring_view text) noexcept {
        if (text.size() > 0x7FFFFFF0u) return unique_bstr();
        return unique_bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    }

    BSTR get() const noexcept { return bstr_; }
    explicit operator bool() const noexcept { return bstr_ != nullptr; }
    UINT length() const noexcept { return SysStringLen(bstr_); }
    std::wstring_view view() const noexcept {
        return bstr_ ? std::wstring_view(bstr_, SysStringLen(bstr_)) : std::wstring_view();
    }

    // For out-parameters: frees the current string first so nothing leaks.
    BSTR* put() noexcept {
        reset();
        return &bstr_;
    }
    BSTR release() noexcept {
        BSTR out = bstr_;
        bstr_ = nullptr;
        return out;
    }
    void reset(BSTR owned = nullptr) noexcept {
        if (bstr_ != owned && bstr_ != nullptr) SysFreeString(bstr_);
        bstr_ = owned;
    }

private:
    BSTR bstr_ = nullptr;
};

}  // namespace kestrova::win32
