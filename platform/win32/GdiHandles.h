// Owning handles for the GDI and USER objects the main window creates. Move
// only: a copied handle would be destroyed twice. Shared handles (stock
// objects, system colour brushes, LR_SHARED images) must never go in here.
#pragma once

#include <windows.h>

#include <utility>

namespace kestrova::win32 {

template <class Handle, class Closer>
class unique_handle_of {
public:
    unique_handle_of() noexcept = default;
    explicit unique_handle_of(Handle handle) noexcept : handle_(handle) {}
    ~unique_handle_of() { reset(); }

    unique_handle_of(unique_handle_of&& other) noexcept : handle_(other.release()) {}
    unique_handle_of& operator=(unique_handle_of&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    unique_handle_of(const unique_handle_of&) = delete;
    unique_handle_of& operator=(const unique_handle_of&) = delete;

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

    Handle release() noexcept { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) noexcept {
        const Handle old = std::exchange(handle_, handle);
        if (old) Closer{}(old);
    }

private:
    Handle handle_ = nullptr;
};

namespace detail {
// Function objects rather than function pointers: the address of an imported
// API is not a constant expression, so it cannot be a template argument.
struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
struct DestroyMenuHandle {
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
}  // namespace detail

using unique_hfont = unique_handle_of<HFONT, detail::DeleteGdiObject>;
using unique_hbrush = unique_handle_of<HBRUSH, detail::DeleteGdiObject>;
using unique_hicon = unique_handle_of<HICON, detail::DestroyIconHandle>;
using unique_hmenu = unique_handle_of<HMENU, detail::DestroyMenuHandle>;

}  // namespace kestrova::win32
