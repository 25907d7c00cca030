#include "platform/win32/StatusImageList.h"

#include <commctrl.h>

#include <array>
#include <memory>
#include <type_traits>

#include "inventory/StatusImages.h"
#include "platform/win32/GdiHandles.h"
#include "resources/ResourceIds.h"

namespace kestrova::win32 {

namespace {

struct ImageListDestroy {
    void operator()(HIMAGELIST list) const noexcept { ImageList_Destroy(list); }
};
using unique_himagelist = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroy>;

// In the order of the 1-based small-icon indexes.
constexpr std::array<int, 3> kStatusIconIds{IDI_STATUS_GREEN, IDI_STATUS_YELLOW, IDI_STATUS_RED};
static_assert(kStatusIconIds.size() == kStatusImages.size());

unique_himagelist CreateStatusImages(int size) {
    unique_himagelist list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK,
                                            static_cast<int>(kStatusIconIds.size()), 0));
    if (!list) return nullptr;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    for (int id : kStatusIconIds) {
        unique_hicon icon(static_cast<HICON>(
            LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        if (!icon || ImageList_AddIcon(list.get(), icon.get()) < 0) return nullptr;
    }
    return list;
}

}  // namespace

void BindStatusImages(HWND list, int size) {
    unique_himagelist images = CreateStatusImages(size);
    if (!images) return;
    // The control now owns the new list; the one it gives back is ours to end.
    unique_himagelist previous(reinterpret_cast<HIMAGELIST>(SendMessageW(
        list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.get()))));
    static_cast<void>(images.release());
}

bool HasStatusImages(HWND list) {
    return SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0) != 0;
}

}  // namespace kestrova::win32
